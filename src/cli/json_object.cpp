#include "cli/json_object.h"

#include <algorithm>
#include <limits>

namespace orv::cli {

using nlohmann::json;

void CJsonPath::PushName(std::string_view sName) {
  m_segments.push_back((m_segments.empty() ? "" : ".") + std::string(sName));
}

void CJsonPath::PushIndex(size_t nIndex) {
  m_segments.push_back('[' + std::to_string(nIndex) + ']');
}

CCliError CJsonPath::Error(std::string_view sField, std::string_view sProblem) const {
  std::string sWhere;
  for (const std::string& sSegment : m_segments) sWhere += sSegment;
  if (!sField.empty()) sWhere += (sWhere.empty() ? "" : ".") + std::string(sField);
  if (sWhere.empty()) sWhere = "the top level";
  return CCliError("Bad document JSON at " + sWhere + ": " + std::string(sProblem));
}

CJsonObject::CJsonObject(const json& value, const CJsonPath& path,
                         std::initializer_list<std::string_view> fields)
    : m_value(value), m_path(path) {
  if (!value.is_object()) throw path.Error({}, "expected an object");
  for (std::string_view sField : fields)
    if (!value.contains(sField)) throw path.Error(sField, "is missing");
  // A misspelt field would otherwise be dropped without a word.
  for (const auto& item : value.items())
    if (std::find(fields.begin(), fields.end(), item.key()) == fields.end())
      throw path.Error(item.key(), "is not a field here");
}

std::string CJsonObject::String(std::string_view sField) const {
  const json& value = m_value.at(sField);
  if (!value.is_string()) throw m_path.Error(sField, "expected a string");
  return value.get<std::string>();
}

bool CJsonObject::Bool(std::string_view sField) const {
  const json& value = m_value.at(sField);
  if (!value.is_boolean()) throw m_path.Error(sField, "expected true or false");
  return value.get<bool>();
}

int32_t CJsonObject::Int32(std::string_view sField) const {
  const json& value = m_value.at(sField);
  constexpr int64_t nMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t nMax = std::numeric_limits<int32_t>::max();
  bool bFits = value.is_number_unsigned() ? value.get<uint64_t>() <= uint64_t{nMax}
               : value.is_number_integer()
                   ? value.get<int64_t>() >= nMin && value.get<int64_t>() <= nMax
                   : false;
  if (!bFits) throw m_path.Error(sField, "expected a whole number that fits in 32 bits");
  return static_cast<int32_t>(value.get<int64_t>());
}

const json& CJsonObject::Array(std::string_view sField) const {
  const json& value = m_value.at(sField);
  if (!value.is_array()) throw m_path.Error(sField, "expected an array");
  return value;
}

}  // namespace orv::cli
