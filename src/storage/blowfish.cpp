#include "storage/blowfish.h"

#include <algorithm>
#include <string>

namespace orv {
namespace {

uint64_t LoadBlock(const uint8_t* p) {
  uint64_t n = 0;
  for (size_t i = 0; i < CBlowfish::kBlockSize; ++i) n = (n << 8) | p[i];
  return n;
}

void StoreBlock(uint64_t n, uint8_t* p) {
  for (size_t i = CBlowfish::kBlockSize; i-- > 0; n >>= 8) p[i] = static_cast<uint8_t>(n);
}

void CheckRequest(size_t nLength, int nMode) {
  if (nLength == 0 || nLength % CBlowfish::kBlockSize != 0)
    throw CCipherError("Incorrect buffer length");
  if (nMode < CBlowfish::modeEcb || nMode > CBlowfish::modeCfb)
    throw CCipherError("Unknown cipher mode " + std::to_string(nMode));
}

}  // namespace

uint32_t CBlowfish::F(uint32_t n) const {
  return ((m_aS[0][n >> 24] + m_aS[1][(n >> 16) & 0xFF]) ^ m_aS[2][(n >> 8) & 0xFF]) +
         m_aS[3][n & 0xFF];
}

template <bool bBackwards>
uint64_t CBlowfish::Feistel(uint64_t nBlock) const {
  const auto P = [&](size_t i) { return m_aP[bBackwards ? m_aP.size() - 1 - i : i]; };
  uint32_t nLeft = static_cast<uint32_t>(nBlock >> 32);
  uint32_t nRight = static_cast<uint32_t>(nBlock);
  // Two rounds a step, so that the halves need no swapping.
  for (size_t i = 0; i < kBlowfishRounds; i += 2) {
    nLeft ^= P(i);
    nRight ^= F(nLeft);
    nRight ^= P(i + 1);
    nLeft ^= F(nRight);
  }
  return (static_cast<uint64_t>(nRight ^ P(kBlowfishRounds + 1)) << 32) |
         (nLeft ^ P(kBlowfishRounds));
}

uint64_t CBlowfish::EncryptBlock(uint64_t nBlock) const { return Feistel<false>(nBlock); }
uint64_t CBlowfish::DecryptBlock(uint64_t nBlock) const { return Feistel<true>(nBlock); }

void CBlowfish::BlowfishInit(const uint8_t* pKey, size_t nKeyLength, const uint8_t iv[kBlockSize]) {
  if (nKeyLength == 0) throw CCipherError("Incorrect key length");
  nKeyLength = std::min(nKeyLength, kMaxKeyLength);

  m_aP = kBlowfishInitialP;
  m_aS = kBlowfishInitialS;
  // The key bytes cycle on across the P-array, four to a word.
  size_t nKeyPos = 0;
  for (uint32_t& nP : m_aP) {
    uint32_t nWord = 0;
    for (int i = 0; i < 4; ++i) {
      nWord = (nWord << 8) | pKey[nKeyPos];
      nKeyPos = (nKeyPos + 1) % nKeyLength;
    }
    nP ^= nWord;
  }
  // Each table entry pair takes the encryption of the previous pair, with the
  // tables as changed so far.
  uint64_t nBlock = 0;
  const auto Replace = [&](auto& table) {
    for (size_t i = 0; i < table.size(); i += 2) {
      nBlock = EncryptBlock(nBlock);
      table[i] = static_cast<uint32_t>(nBlock >> 32);
      table[i + 1] = static_cast<uint32_t>(nBlock);
    }
  };
  Replace(m_aP);
  for (auto& box : m_aS) Replace(box);
  m_nIv = LoadBlock(iv);
}

void CBlowfish::BlowfishEncrypt(const uint8_t* pIn, uint8_t* pOut, size_t nLength,
                                int nMode) const {
  CheckRequest(nLength, nMode);
  uint64_t nChain = m_nIv;
  for (size_t i = 0; i < nLength; i += kBlockSize) {
    const uint64_t nIn = LoadBlock(pIn + i);
    const uint64_t nOut = nMode == modeEcb   ? EncryptBlock(nIn)
                          : nMode == modeCbc ? EncryptBlock(nIn ^ nChain)
                                             : nIn ^ EncryptBlock(nChain);
    nChain = nOut;
    StoreBlock(nOut, pOut + i);
  }
}

void CBlowfish::BlowfishDecrypt(const uint8_t* pIn, uint8_t* pOut, size_t nLength,
                                int nMode) const {
  CheckRequest(nLength, nMode);
  uint64_t nChain = m_nIv;
  for (size_t i = 0; i < nLength; i += kBlockSize) {
    const uint64_t nIn = LoadBlock(pIn + i);
    const uint64_t nOut = nMode == modeEcb   ? DecryptBlock(nIn)
                          : nMode == modeCbc ? DecryptBlock(nIn) ^ nChain
                                             : nIn ^ EncryptBlock(nChain);
    nChain = nIn;
    StoreBlock(nOut, pOut + i);
  }
}

}  // namespace orv
