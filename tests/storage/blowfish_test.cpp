// Published vectors, the key cut, the error texts and the record padding.
// blowfish_check.py compares thousands of random cases in all three modes
// with python3-pycryptodome; these pin what the random cases cannot.

#include "storage/blowfish.h"

#include <gtest/gtest.h>

#include <string>

#include "storage/cipher_stream.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CCollectSink;
using test::CTrickleSource;

std::string FromHex(std::string_view sHex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < sHex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(std::string(sHex.substr(i, 2)), nullptr, 16));
  return bytes;
}

const uint8_t* Data(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
uint8_t* Data(std::string& s) { return reinterpret_cast<uint8_t*>(s.data()); }

CBlowfish Keyed(const std::string& key, const std::string& iv = std::string(8, '\0')) {
  CBlowfish cipher;
  cipher.BlowfishInit(Data(key), key.size(), Data(iv));
  return cipher;
}

// Into a separate buffer; PublishedChainingVectorsInPlace covers in place.
std::string Encrypt(const CBlowfish& cipher, const std::string& in) {
  std::string out(in.size(), '\0');
  cipher.BlowfishEncrypt(Data(in), Data(out), in.size(), CBlowfish::modeEcb);
  return out;
}

std::string Decrypt(const CBlowfish& cipher, const std::string& in) {
  std::string out(in.size(), '\0');
  cipher.BlowfishDecrypt(Data(in), Data(out), in.size(), CBlowfish::modeEcb);
  return out;
}

void ExpectVector(const std::string& sKey, const char* pPlain, const char* pCipher) {
  const CBlowfish cipher = Keyed(FromHex(sKey));
  EXPECT_EQ(Encrypt(cipher, FromHex(pPlain)), FromHex(pCipher)) << "key " << sKey;
  EXPECT_EQ(Decrypt(cipher, FromHex(pCipher)), FromHex(pPlain)) << "key " << sKey;
}

// A few of Eric Young's ECB and key-length vectors. Keys of 1 to 3 bytes are
// below what the random cross-check draws, and catch key bytes that do not
// cycle across the P-array.
TEST(BlowfishTest, PublishedEcbAndKeyLengthVectors) {
  ExpectVector("0000000000000000", "0000000000000000", "4EF997456198DD78");
  ExpectVector("FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A");
  ExpectVector("3000000000000000", "1000000000000001", "7D856F9A613063F2");
  ExpectVector("0123456789ABCDEF", "1111111111111111", "61F9C3802281B096");
  ExpectVector("FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D");
  ExpectVector("7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B");

  const std::string sKeys = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
  const std::pair<size_t, const char*> kByLength[] = {
      {1, "F9AD597C49DB005E"}, {2, "E91D21C1D961A6D6"},  {3, "E9C2B70A1BC65CF3"},
      {8, "E87A244E2CC85E82"}, {17, "03429E838CE2D14B"}, {24, "05044B62FA52D080"}};
  for (auto [nLength, pCipher] : kByLength)
    ExpectVector(sKeys.substr(0, 2 * nLength), "FEDCBA9876543210", pCipher);
}

// The chaining vectors of the same set, in place as documents are enciphered.
// Our CFB works on whole blocks, so only the first three blocks of its 29-byte
// vector apply. The ECB line is python3-pycryptodome's.
TEST(BlowfishTest, PublishedChainingVectorsInPlace) {
  const CBlowfish cipher =
      Keyed(FromHex("0123456789ABCDEFF0E1D2C3B4A59687"), FromHex("FEDCBA9876543210"));
  std::string plain = FromHex("37363534333231204E6F77206973207468652074696D6520666F722000");
  plain.resize(32, 0);
  const std::tuple<int, size_t, const char*> kCases[] = {
      {CBlowfish::modeCbc, 32, "6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC"},
      {CBlowfish::modeCfb, 24, "E73214A2822139CAF26ECF6D2EB9E76E3DA3DE04D1517200"},
      {CBlowfish::modeEcb, 32, "2AFD7DAA60626BA38616468CC29CF6E1291E817CC740982D6F87AC5F171AABEA"}};
  for (auto [nMode, nLength, pCipher] : kCases) {
    std::string buffer = plain.substr(0, nLength);
    cipher.BlowfishEncrypt(Data(buffer), Data(buffer), buffer.size(), nMode);
    EXPECT_EQ(buffer, FromHex(pCipher)) << "mode " << nMode;
    cipher.BlowfishDecrypt(Data(buffer), Data(buffer), buffer.size(), nMode);
    EXPECT_EQ(buffer, plain.substr(0, nLength)) << "mode " << nMode;
  }
}

TEST(BlowfishTest, KeyIsCutAfter56Bytes) {
  std::string key;
  for (char c = 0x31; key.size() < 60; ++c) key += c;
  const std::string block = FromHex("0123456789ABCDEF");
  const std::string sCut = Encrypt(Keyed(key), block);
  EXPECT_EQ(sCut, Encrypt(Keyed(key.substr(0, 56)), block));
  // ...and not before: the 56th byte still counts.
  EXPECT_NE(sCut, Encrypt(Keyed(key.substr(0, 55)), block));
}

TEST(BlowfishTest, RejectsEmptyKeysAndPartialBlocks) {
  CBlowfish cipher = Keyed(FromHex("0123456789ABCDEF"));
  const uint8_t zeroIv[CBlowfish::kBlockSize] = {};
  EXPECT_THROW_MSG(cipher.BlowfishInit(nullptr, 0, zeroIv), CCipherError, "Incorrect key length");
  // The failed init left the schedule as it was.
  EXPECT_EQ(Encrypt(cipher, FromHex("1111111111111111")), FromHex("61F9C3802281B096"));

  uint8_t buffer[17] = {};
  for (size_t nLength : {0, 1, 7, 9, 17}) {
    for (int nMode : {CBlowfish::modeEcb, CBlowfish::modeCbc, CBlowfish::modeCfb}) {
      EXPECT_THROW_MSG(cipher.BlowfishEncrypt(buffer, buffer, nLength, nMode), CCipherError,
                       "Incorrect buffer length");
      EXPECT_THROW_MSG(cipher.BlowfishDecrypt(buffer, buffer, nLength, nMode), CCipherError,
                       "Incorrect buffer length");
    }
  }
  EXPECT_THROW_MSG(cipher.BlowfishEncrypt(buffer, buffer, 8, 3), CCipherError,
                   "Unknown cipher mode 3");
}

class CipherStreamTest : public testing::Test {
 protected:
  std::string Seal(const std::string& record, size_t nPiece) const {
    CCollectSink target;
    CBlowfishEcbSink sink(m_cipher, target);
    for (size_t i = 0; i < record.size(); i += nPiece)
      sink.Write(record.data() + i, std::min(nPiece, record.size() - i));
    sink.Finish();
    return target.m_s;
  }

  std::string Open(const std::string& stored, size_t nPiece) const {
    CTrickleSource trickle(stored, 1000);
    CBlowfishEcbSource source(m_cipher, trickle, stored.size());
    std::string out(source.Size() + 5, '\0');
    size_t nTotal = 0;
    while (size_t n = source.Read(out.data() + nTotal, std::min(nPiece, out.size() - nTotal)))
      nTotal += n;
    EXPECT_EQ(nTotal, source.Size());
    out.resize(nTotal);
    return out;
  }

  static std::string Record(size_t nLength) {
    std::string record;
    for (size_t i = 0; i < nLength; ++i) record += static_cast<char>(i * 7 + 1);
    return record;
  }

  const CBlowfish m_cipher = Keyed("password");
};

TEST_F(CipherStreamTest, RecordIsFollowedByOneToEightZeroBytes) {
  const std::pair<size_t, size_t> kStoredSizes[] = {{0, 8},   {1, 8},   {7, 8},   {8, 16},
                                                    {16, 24}, {17, 24}, {23, 24}, {24, 32}};
  for (auto [nLength, nStored] : kStoredSizes) {
    const std::string record = Record(nLength);
    EXPECT_EQ(PaddedRecordSize(nLength), nStored);
    const std::string padded = record + std::string(nStored - nLength, '\0');
    for (size_t nPiece : {size_t{5}, nLength + 1})
      EXPECT_EQ(Seal(record, nPiece), Encrypt(m_cipher, padded)) << nLength << " in " << nPiece;
  }
}

TEST_F(CipherStreamTest, RoundTripOverManyChunksGivesRecordAndPadding) {
  const std::string record = Record(3 * 65536 + 11);
  const std::string stored = Seal(record, 40000);
  ASSERT_EQ(stored.size(), record.size() + 5);
  // A stored length that fills its last block still gets a zero block
  // deciphered after it; the reader ignores what follows the record.
  EXPECT_EQ(Open(stored, 777),
            record + std::string(5, '\0') + Decrypt(m_cipher, std::string(8, '\0')));
}

// A stored length that is not a whole number of blocks is zero-padded before
// deciphering; one shorter than announced is an error.
TEST_F(CipherStreamTest, StoredBytesAreZeroPaddedBeforeDeciphering) {
  for (size_t nLength : {13, 16, 1}) {
    const std::string stored = Record(nLength);
    const std::string padded = stored + std::string(8 - nLength % 8, '\0');
    EXPECT_EQ(Open(stored, 3), Decrypt(m_cipher, padded)) << nLength << " bytes";
  }
  EXPECT_TRUE(Open({}, 8).empty());

  CTrickleSource trickle(Record(10), 1000);
  CBlowfishEcbSource source(m_cipher, trickle, 100);
  uint8_t buffer[8];
  EXPECT_THROW_MSG(source.Read(buffer, sizeof buffer), CArchiveError,
                   "The enciphered stream ends after 10 of its 100 bytes");
}

}  // namespace
}  // namespace orv
