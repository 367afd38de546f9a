// Test-only: runs our cipher on requests read from standard input, so that a
// script can compare it with implementations nobody here wrote. One request a
// line, all bytes in hex, one answer a line (hex, or "error: " and the text):
//   encrypt MODE KEY IV DATA     BlowfishEncrypt with mode 0, 1 or 2
//   decrypt MODE KEY IV DATA     BlowfishDecrypt
//   record KEY DATA              DATA as a protected document stores it

#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "storage/blowfish.h"
#include "storage/cipher_stream.h"

namespace {

using CBytes = std::vector<uint8_t>;

CBytes FromHex(const std::string& sHex) {
  if (sHex.size() % 2 != 0) throw std::invalid_argument("odd number of hex digits");
  CBytes bytes;
  for (size_t i = 0; i < sHex.size(); i += 2) {
    size_t nUsed = 0;
    bytes.push_back(static_cast<uint8_t>(std::stoul(sHex.substr(i, 2), &nUsed, 16)));
    if (nUsed != 2) throw std::invalid_argument("not hex: " + sHex.substr(i, 2));
  }
  return bytes;
}

std::string ToHex(const CBytes& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (uint8_t n : bytes) {
    s += kDigits[n >> 4];
    s += kDigits[n & 15];
  }
  return s;
}

struct CCollectSink : orv::CArchiveSink {
  void Write(const void* pData, size_t nCount) override {
    const auto* p = static_cast<const uint8_t*>(pData);
    m_bytes.insert(m_bytes.end(), p, p + nCount);
  }
  CBytes m_bytes;
};

CBytes Answer(const std::string& sLine) {
  std::istringstream fields(sLine);
  std::string sOp, sMode, sKey, sIv, sData;
  fields >> sOp;
  orv::CBlowfish cipher;
  if (sOp == "record") {
    fields >> sKey >> sData;
    const CBytes key = FromHex(sKey), data = FromHex(sData);
    const uint8_t zeroIv[orv::CBlowfish::kBlockSize] = {};
    cipher.BlowfishInit(key.data(), key.size(), zeroIv);
    CCollectSink target;
    orv::CBlowfishEcbSink sink(cipher, target);
    sink.Write(data.data(), data.size());
    sink.Finish();
    return target.m_bytes;
  }
  if (sOp != "encrypt" && sOp != "decrypt") throw std::invalid_argument("unknown request " + sOp);
  fields >> sMode >> sKey >> sIv >> sData;
  const CBytes key = FromHex(sKey), iv = FromHex(sIv);
  CBytes data = FromHex(sData);
  if (iv.size() != orv::CBlowfish::kBlockSize) throw std::invalid_argument("IV is not 8 bytes");
  cipher.BlowfishInit(key.data(), key.size(), iv.data());
  if (sOp == "encrypt")
    cipher.BlowfishEncrypt(data.data(), data.data(), data.size(), std::stoi(sMode));
  else
    cipher.BlowfishDecrypt(data.data(), data.data(), data.size(), std::stoi(sMode));
  return data;
}

}  // namespace

int main() {
  std::string sLine;
  while (std::getline(std::cin, sLine)) {
    try {
      std::cout << ToHex(Answer(sLine)) << '\n';
    } catch (const std::exception& e) {
      std::cout << "error: " << e.what() << '\n';
    }
  }
  return 0;
}
