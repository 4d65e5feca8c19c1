#include "checks_test_report.h"

#include <charconv>
#include <cstdint>
#include <map>

#include "utf8_encode.h"

namespace orvel::checks {
namespace {

// Attribute text with its character and entity references replaced; an
// unknown or broken reference stays as it is.
std::string Unescape(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t end = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
    if (end == std::string_view::npos) {
      out += text[i++];
      continue;
    }
    const std::string_view name = text.substr(i + 1, end - i - 1);
    static const std::map<std::string_view, char> kNamed = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    if (const auto named = kNamed.find(name); named != kNamed.end()) {
      out += named->second;
      i = end + 1;
      continue;
    }
    if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      std::uint32_t code = 0;
      const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
      if (error == std::errc() && last == digits.data() + digits.size() && !digits.empty() && code <= 0x10FFFF) {
        AppendUtf8(out, static_cast<char32_t>(code));
        i = end + 1;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int Count(const std::map<std::string, std::string>& attributes, const std::string& name) {
  const auto found = attributes.find(name);
  if (found == attributes.end()) return 0;
  int value = 0;
  const std::string& text = found->second;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

struct Tag {
  std::string name;
  std::map<std::string, std::string> attributes;
  bool closing = false;      // </name>
  bool selfClosing = false;  // <name ... />
};

enum class TagRead { kWhole, kCutShort, kMalformed };

// Reads the start or end tag whose '<' is at `at`; `next` becomes the
// position after its '>'.
TagRead ReadTag(std::string_view xml, std::size_t at, Tag& tag, std::size_t& next) {
  std::size_t i = at + 1;
  if (i < xml.size() && xml[i] == '/') {
    tag.closing = true;
    ++i;
  }
  const std::size_t nameStart = i;
  while (i < xml.size() && !IsSpace(xml[i]) && xml[i] != '>' && xml[i] != '/') ++i;
  tag.name = std::string(xml.substr(nameStart, i - nameStart));
  if (tag.name.empty()) return i >= xml.size() ? TagRead::kCutShort : TagRead::kMalformed;
  for (;;) {
    while (i < xml.size() && IsSpace(xml[i])) ++i;
    if (i >= xml.size()) return TagRead::kCutShort;
    if (xml[i] == '>') {
      next = i + 1;
      return TagRead::kWhole;
    }
    if (xml[i] == '/') {
      if (i + 1 >= xml.size()) return TagRead::kCutShort;
      if (xml[i + 1] != '>') return TagRead::kMalformed;
      tag.selfClosing = true;
      next = i + 2;
      return TagRead::kWhole;
    }
    const std::size_t keyStart = i;
    while (i < xml.size() && !IsSpace(xml[i]) && xml[i] != '=' && xml[i] != '>' && xml[i] != '/') ++i;
    const std::string key(xml.substr(keyStart, i - keyStart));
    while (i < xml.size() && IsSpace(xml[i])) ++i;
    if (i >= xml.size()) return TagRead::kCutShort;
    if (key.empty() || xml[i] != '=') return TagRead::kMalformed;
    ++i;
    while (i < xml.size() && IsSpace(xml[i])) ++i;
    if (i >= xml.size()) return TagRead::kCutShort;
    if (xml[i] != '"' && xml[i] != '\'') return TagRead::kMalformed;
    const char quote = xml[i++];
    const std::size_t valueEnd = xml.find(quote, i);
    if (valueEnd == std::string_view::npos) return TagRead::kCutShort;
    tag.attributes[key] = Unescape(xml.substr(i, valueEnd - i));
    i = valueEnd + 1;
  }
}

TestReport Incomplete(std::string problem) {
  TestReport report;
  report.problem = std::move(problem);
  return report;
}

std::string TestName(const std::map<std::string, std::string>& attributes) {
  const auto suite = attributes.find("classname");
  const auto name = attributes.find("name");
  const std::string suiteText = suite == attributes.end() ? "" : suite->second;
  const std::string nameText = name == attributes.end() ? "" : name->second;
  if (suiteText.empty() && nameText.empty()) return "(outside any test)";
  return suiteText + "." + nameText;
}

}  // namespace

TestReport ReadTestReport(std::string_view xml) {
  if (xml.find_first_not_of(" \t\r\n") == std::string_view::npos) return Incomplete("empty test report");
  constexpr const char* kCutShort = "test report cut short";
  constexpr const char* kForeign = "not a GoogleTest report";

  TestReport report;
  std::vector<std::string> open;  // the elements entered and not yet left
  bool rootSeen = false, rootClosed = false;
  // The test case being read: its name, and what its children said.
  std::string caseName;
  bool caseFailed = false, caseSkipped = false, caseRan = true;

  auto finishCase = [&] {
    ++report.tests;
    if (caseFailed) {
      report.failedTests.push_back(caseName);
    } else if (!caseRan) {
      ++report.disabled;
    } else if (caseSkipped) {
      ++report.skipped;
    }
  };

  std::size_t i = 0;
  while ((i = xml.find('<', i)) != std::string_view::npos) {
    const std::string_view rest = xml.substr(i);
    // Declarations, comments and character data carry no results.
    const std::pair<std::string_view, std::string_view> kSkipped[] = {
        {"<?", "?>"}, {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<!", ">"}};
    bool skippedMarkup = false;
    for (const auto& [begin, end] : kSkipped) {
      if (rest.starts_with(begin)) {
        const std::size_t close = xml.find(end, i + begin.size());
        if (close == std::string_view::npos) return Incomplete(kCutShort);
        i = close + end.size();
        skippedMarkup = true;
        break;
      }
    }
    if (skippedMarkup) continue;

    Tag tag;
    std::size_t next = 0;
    const TagRead read = ReadTag(xml, i, tag, next);
    if (read != TagRead::kWhole) return Incomplete(read == TagRead::kCutShort ? kCutShort : kForeign);
    i = next;
    if (rootClosed) return Incomplete(kForeign);  // nothing may follow the root

    if (tag.closing) {
      if (open.empty() || open.back() != tag.name) return Incomplete(kForeign);
      open.pop_back();
      if (tag.name == "testcase") finishCase();
      if (open.empty()) rootClosed = true;
      continue;
    }
    if (open.empty() && tag.name != "testsuites") return Incomplete(kForeign);
    if (open.empty()) rootSeen = true;
    if (open.empty()) report.rootFailures = Count(tag.attributes, "failures") + Count(tag.attributes, "errors");
    if (tag.name == "testcase") {
      caseName = TestName(tag.attributes);
      caseFailed = false;
      const auto status = tag.attributes.find("status");
      caseRan = status == tag.attributes.end() || status->second != "notrun";
      const auto result = tag.attributes.find("result");
      caseSkipped = result != tag.attributes.end() && result->second == "skipped";
      if (tag.selfClosing) finishCase();
    } else if (tag.name == "failure" || tag.name == "error") {
      caseFailed = true;
    } else if (tag.name == "skipped") {
      caseSkipped = true;
    }
    if (!tag.selfClosing) {
      open.push_back(tag.name);
    } else if (open.empty()) {
      rootClosed = true;  // <testsuites ... />: a report of no tests
    }
  }
  // Markup before the root (the XML declaration) and then nothing: cut short.
  // No markup at all: some other text.
  if (!rootSeen) return Incomplete(xml.find('<') == std::string_view::npos ? kForeign : kCutShort);
  if (!rootClosed) return Incomplete(kCutShort);
  report.complete = true;
  return report;
}

}  // namespace orvel::checks
