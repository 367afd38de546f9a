#pragma once
// Blowfish, the 64-bit block cipher that protects a document's "Contents"
// stream. That protection keeps casual readers out; it is not strong
// cryptography: the file format fixes electronic-codebook mode, so equal
// blocks of text show as equal blocks of cipher, and it takes the passphrase
// bytes as the key without any stretching, so guesses are cheap to try.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "storage/blowfish_tables.h"

namespace orv {

// Raised for a key or a buffer the cipher cannot take.
class CCipherError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Blocks are read and written as two big-endian 32-bit halves.
class CBlowfish {
 public:
  enum : int {
    modeEcb = 0,  // each block on its own; what documents use
    modeCbc = 1,  // cipher-block chaining
    modeCfb = 2,  // cipher feedback over whole 8-byte blocks
  };
  static constexpr size_t kBlockSize = 8;
  // Key bytes past this many are ignored.
  static constexpr size_t kMaxKeyLength = 56;

  // Builds the key schedule. The initial vector starts the chain of every
  // chaining call; ECB ignores it. On an error the object is left unchanged.
  void BlowfishInit(const uint8_t* pKey, size_t nKeyLength, const uint8_t iv[kBlockSize]);

  // nLength must be a non-zero multiple of the block size. pOut may be pIn.
  // Each call is a message of its own, chained from the initial vector.
  void BlowfishEncrypt(const uint8_t* pIn, uint8_t* pOut, size_t nLength, int nMode) const;
  void BlowfishDecrypt(const uint8_t* pIn, uint8_t* pOut, size_t nLength, int nMode) const;

 private:
  using CPArray = std::array<uint32_t, kBlowfishRounds + 2>;

  uint32_t F(uint32_t n) const;
  // Runs the rounds with the P-array forwards, or backwards to decipher.
  template <bool bBackwards>
  uint64_t Feistel(uint64_t nBlock) const;
  uint64_t EncryptBlock(uint64_t nBlock) const;
  uint64_t DecryptBlock(uint64_t nBlock) const;

  CPArray m_aP{};
  std::array<std::array<uint32_t, 256>, 4> m_aS{};
  uint64_t m_nIv = 0;
};

}  // namespace orv
