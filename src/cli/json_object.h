#pragma once
// Reading JSON of a fixed shape, with messages that say where it went wrong:
// "Bad document JSON at folders[0].notes[2].kind: expected a whole number ...".

#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_error.h"

namespace orv::cli {

// Where in the JSON we are, kept as the readers descend.
class CJsonPath {
 public:
  void PushName(std::string_view sName);
  void PushIndex(size_t nIndex);
  void Pop() { m_segments.pop_back(); }

  // An error at this place, or at its field `sField` when given.
  CCliError Error(std::string_view sField, std::string_view sProblem) const;

 private:
  std::vector<std::string> m_segments;
};

// An object with exactly the named fields; the getters check each field's type.
class CJsonObject {
 public:
  CJsonObject(const nlohmann::json& value, const CJsonPath& path,
              std::initializer_list<std::string_view> fields);

  std::string String(std::string_view sField) const;
  bool Bool(std::string_view sField) const;
  int32_t Int32(std::string_view sField) const;
  const nlohmann::json& Array(std::string_view sField) const;

 private:
  const nlohmann::json& m_value;
  const CJsonPath& m_path;
};

}  // namespace orv::cli
