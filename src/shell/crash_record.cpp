#include "shell/crash_record.h"

#include <charconv>

namespace orv {

namespace {

// Splits off the first space-separated word of rLine.
std::string_view NextWord(std::string_view& rLine) {
  size_t nSpace = rLine.find(' ');
  std::string_view sWord = rLine.substr(0, nSpace);
  rLine = nSpace == std::string_view::npos ? std::string_view() : rLine.substr(nSpace + 1);
  return sWord;
}

template <typename T>
std::optional<T> ParseNumber(std::string_view sText, int nBase) {
  T nValue{};
  auto [pEnd, error] = std::from_chars(sText.data(), sText.data() + sText.size(), nValue, nBase);
  if (error != std::errc() || pEnd != sText.data() + sText.size()) return std::nullopt;
  return nValue;
}

template <typename T>
void SetNumber(T& rValue, std::string_view sText, int nBase) {
  if (auto nValue = ParseNumber<T>(sText, nBase)) rValue = *nValue;
}

void ReadItem(std::string_view sKey, std::string_view sRest, SCrashRecord& rRecord) {
  if (sKey == kRecordSignal) {
    SetNumber(rRecord.nSignal, sRest, 10);
  } else if (sKey == kRecordCode) {
    SetNumber(rRecord.nCode, sRest, 10);
  } else if (sKey == kRecordAddress) {
    SetNumber(rRecord.nAddress, sRest, 16);
  } else if (sKey == kRecordStack) {
    SetNumber(rRecord.nStackPointer, sRest, 16);
  } else if (sKey == kRecordPid) {
    SetNumber(rRecord.nPid, sRest, 10);
  } else if (sKey == kRecordTime) {
    SetNumber(rRecord.nTime, sRest, 10);
  } else if (sKey == kRecordUncaught) {
    rRecord.sUncaught = sRest;
  } else if (sKey == kRecordModule && rRecord.modules.size() < kMaxRecordModules) {
    auto nIndex = ParseNumber<int>(NextWord(sRest), 10);
    auto nBias = ParseNumber<uint64_t>(NextWord(sRest), 16);
    if (nIndex && nBias && !sRest.empty())
      rRecord.modules[*nIndex] = SCrashModule{*nBias, std::string(sRest)};
  } else if (sKey == kRecordFrame && rRecord.frames.size() < kMaxRecordFrames) {
    auto nAddress = ParseNumber<uint64_t>(NextWord(sRest), 16);
    auto nFrame = ParseNumber<uint64_t>(NextWord(sRest), 16);
    if (!nAddress || !nFrame) return;
    rRecord.frames.push_back({*nAddress, *nFrame, ParseNumber<int>(sRest, 10)});
  }
}

}  // namespace

std::optional<SCrashRecord> ParseCrashRecord(std::string_view sText) {
  if (!sText.starts_with(kCrashRecordMagic)) return std::nullopt;
  SCrashRecord record;
  std::string* pSection = nullptr;
  size_t nPos = sText.find('\n');
  while (nPos != std::string_view::npos && nPos + 1 < sText.size()) {
    size_t nEnd = sText.find('\n', nPos + 1);
    std::string_view sLine = sText.substr(
        nPos + 1, nEnd == std::string_view::npos ? std::string_view::npos : nEnd - nPos - 1);
    nPos = nEnd;
    if (sLine == kRecordStatusSection) {
      pSection = &record.sStatus;
    } else if (sLine == kRecordMemInfoSection) {
      pSection = &record.sMemInfo;
    } else if (pSection) {
      pSection->append(sLine).push_back('\n');
    } else {
      std::string_view sRest = sLine;
      std::string_view sKey = NextWord(sRest);
      ReadItem(sKey, sRest, record);
    }
  }
  // Module numbers that name no module are nobody's.
  for (SCrashFrame& frame : record.frames)
    if (frame.nModule && !record.modules.contains(*frame.nModule)) frame.nModule.reset();
  return record;
}

}  // namespace orv
