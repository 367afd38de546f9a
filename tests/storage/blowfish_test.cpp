#include "storage/blowfish.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "storage/cipher_stream.h"
#include "support/test_support.h"

namespace orv {
namespace {

using CBytes = std::vector<uint8_t>;

CBytes FromHex(std::string_view sHex) {
  CBytes bytes;
  for (size_t i = 0; i + 1 < sHex.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(sHex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

std::string ToHex(const CBytes& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (uint8_t n : bytes) {
    s += kDigits[n >> 4];
    s += kDigits[n & 15];
  }
  return s;
}

const uint8_t kZeroIv[CBlowfish::kBlockSize] = {};

CBlowfish Keyed(const CBytes& key, const CBytes& iv = CBytes(CBlowfish::kBlockSize)) {
  CBlowfish cipher;
  cipher.BlowfishInit(key.data(), key.size(), iv.data());
  return cipher;
}

CBytes Encrypt(const CBlowfish& cipher, const CBytes& in, int nMode = CBlowfish::modeEcb) {
  CBytes out(in.size());
  cipher.BlowfishEncrypt(in.data(), out.data(), in.size(), nMode);
  return out;
}

CBytes Decrypt(const CBlowfish& cipher, const CBytes& in, int nMode = CBlowfish::modeEcb) {
  CBytes out(in.size());
  cipher.BlowfishDecrypt(in.data(), out.data(), in.size(), nMode);
  return out;
}

struct SVector {
  const char* pKey;
  const char* pPlain;
  const char* pCipher;
};

void ExpectVector(const SVector& v) {
  const CBlowfish cipher = Keyed(FromHex(v.pKey));
  EXPECT_EQ(ToHex(Encrypt(cipher, FromHex(v.pPlain))), v.pCipher) << "key " << v.pKey;
  EXPECT_EQ(ToHex(Decrypt(cipher, FromHex(v.pCipher))), v.pPlain) << "key " << v.pKey;
}

// Eric Young's ECB vectors for Blowfish.
TEST(BlowfishTest, PublishedEcbVectors) {
  const SVector kVectors[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
      {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
      {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
      {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
      {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
      {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
      {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
      {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
      {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
      {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
      {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
      {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
      {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
      {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
      {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
      {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
      {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
      {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
      {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
      {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
      {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
      {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
      {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
      {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
      {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
      {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
      {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
  };
  for (const SVector& v : kVectors) ExpectVector(v);
}

// Eric Young's key-length vectors: the first n bytes of one key string. The
// short keys catch key bytes that do not cycle across the P-array.
TEST(BlowfishTest, PublishedVariableKeyVectors) {
  const std::string sKeys = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
  const char* const kCiphers[] = {
      "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05",
      "B39E44481BDB1E6E", "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82",
      "15750E7A4F4EC577", "122BA70B3AB64AE0", "3A833C9AFFC537F6", "9409DA87A90F6BF2",
      "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F", "93142887EE3BE15C",
      "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
      "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
  };
  for (size_t n = 1; n <= std::size(kCiphers); ++n) {
    const std::string sKey = sKeys.substr(0, 2 * n);
    ExpectVector({sKey.c_str(), "FEDCBA9876543210", kCiphers[n - 1]});
  }
}

// The chaining vectors of the same set. Our CFB works on whole blocks, so
// only the first three blocks of its 29-byte vector apply.
TEST(BlowfishTest, PublishedChainingVectorsAlsoInPlace) {
  const CBlowfish cipher =
      Keyed(FromHex("0123456789ABCDEFF0E1D2C3B4A59687"), FromHex("FEDCBA9876543210"));
  CBytes plain = FromHex("37363534333231204E6F77206973207468652074696D6520666F722000");
  plain.resize(32, 0);
  const struct {
    int nMode;
    size_t nLength;
    const char* pCipher;
  } kCases[] = {
      {CBlowfish::modeCbc, 32, "6B77B4D63006DEE605B156E27403979358DEB9E7154616D959F1652BD5FF92CC"},
      {CBlowfish::modeCfb, 24, "E73214A2822139CAF26ECF6D2EB9E76E3DA3DE04D1517200"},
  };
  for (const auto& c : kCases) {
    CBytes buffer(plain.begin(), plain.begin() + c.nLength);
    cipher.BlowfishEncrypt(buffer.data(), buffer.data(), buffer.size(), c.nMode);
    EXPECT_EQ(ToHex(buffer), c.pCipher) << "mode " << c.nMode;
    cipher.BlowfishDecrypt(buffer.data(), buffer.data(), buffer.size(), c.nMode);
    EXPECT_EQ(buffer, CBytes(plain.begin(), plain.begin() + c.nLength)) << "mode " << c.nMode;
  }
  // ECB in place as the document does it, over several blocks.
  CBytes buffer = plain;
  cipher.BlowfishEncrypt(buffer.data(), buffer.data(), buffer.size(), CBlowfish::modeEcb);
  EXPECT_EQ(buffer, Encrypt(cipher, plain));
  cipher.BlowfishDecrypt(buffer.data(), buffer.data(), buffer.size(), CBlowfish::modeEcb);
  EXPECT_EQ(buffer, plain);
}

TEST(BlowfishTest, KeyIsCutAfter56Bytes) {
  CBytes key(60);
  for (size_t i = 0; i < key.size(); ++i) key[i] = static_cast<uint8_t>(0x31 + i);
  const CBytes block = FromHex("0123456789ABCDEF");
  const CBytes sCut = Encrypt(Keyed(key), block);
  EXPECT_EQ(sCut, Encrypt(Keyed(CBytes(key.begin(), key.begin() + 56)), block));
  // ...and not before: the 56th byte still counts.
  EXPECT_NE(sCut, Encrypt(Keyed(CBytes(key.begin(), key.begin() + 55)), block));
}

TEST(BlowfishTest, RejectsEmptyKeysAndPartialBlocks) {
  CBlowfish cipher = Keyed(FromHex("0123456789ABCDEF"));
  EXPECT_THROW_MSG(cipher.BlowfishInit(nullptr, 0, kZeroIv), CCipherError, "Incorrect key length");
  // The failed init left the schedule as it was.
  EXPECT_EQ(ToHex(Encrypt(cipher, FromHex("1111111111111111"))), "61F9C3802281B096");

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

// A sink that keeps everything, and a source that hands out a few bytes at a
// time, as a stream read in blocks would.
struct CCollectSink : CArchiveSink {
  void Write(const void* pData, size_t nCount) override {
    const auto* p = static_cast<const uint8_t*>(pData);
    m_bytes.insert(m_bytes.end(), p, p + nCount);
  }
  CBytes m_bytes;
};

class CTrickleSource : public CArchiveSource {
 public:
  explicit CTrickleSource(CBytes bytes) : m_bytes(std::move(bytes)) {}
  size_t Read(void* pBuffer, size_t nCount) override {
    const size_t n = std::min({nCount, m_bytes.size() - m_nPos, size_t{1000}});
    std::memcpy(pBuffer, m_bytes.data() + m_nPos, n);
    m_nPos += n;
    return n;
  }

 private:
  CBytes m_bytes;
  size_t m_nPos = 0;
};

class CipherStreamTest : public testing::Test {
 protected:
  CBytes Seal(const CBytes& record, size_t nPiece) const {
    CCollectSink target;
    CBlowfishEcbSink sink(m_cipher, target);
    for (size_t i = 0; i < record.size(); i += nPiece)
      sink.Write(record.data() + i, std::min(nPiece, record.size() - i));
    sink.Finish();
    return target.m_bytes;
  }

  CBytes Open(const CBytes& stored, size_t nPiece) const {
    CTrickleSource trickle(stored);
    CBlowfishEcbSource source(m_cipher, trickle, stored.size());
    CBytes out(source.Size() + 5);
    size_t nTotal = 0;
    while (size_t n = source.Read(out.data() + nTotal, std::min(nPiece, out.size() - nTotal)))
      nTotal += n;
    EXPECT_EQ(nTotal, source.Size());
    out.resize(nTotal);
    return out;
  }

  static CBytes Record(size_t nLength) {
    CBytes record(nLength);
    for (size_t i = 0; i < nLength; ++i) record[i] = static_cast<uint8_t>(i * 7 + 1);
    return record;
  }

  const CBlowfish m_cipher = Keyed(FromHex("70617373776F7264"));  // "password"
};

TEST_F(CipherStreamTest, RecordIsFollowedByOneToEightZeroBytes) {
  for (size_t nLength : {0, 1, 7, 8, 16, 17, 23, 24}) {
    const CBytes record = Record(nLength);
    const CBytes stored = Seal(record, 5);
    CBytes padded = record;
    padded.resize(nLength - nLength % 8 + 8, 0);
    EXPECT_EQ(stored, Encrypt(m_cipher, padded)) << nLength << " bytes";
    EXPECT_EQ(PaddedRecordSize(nLength), padded.size());
  }
  EXPECT_EQ(Seal(Record(16), 16).size(), 24u);
  EXPECT_EQ(Seal(Record(17), 17).size(), 24u);
}

TEST_F(CipherStreamTest, RoundTripOverManyChunksGivesRecordAndPadding) {
  const CBytes record = Record(3 * 65536 + 11);
  const CBytes stored = Seal(record, 40000);
  ASSERT_EQ(stored.size(), record.size() + 5);
  const CBytes opened = Open(stored, 777);
  // A stored length that fills its last block still gets a zero block
  // deciphered after it; the reader ignores what follows the record.
  ASSERT_EQ(opened.size(), stored.size() + 8);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), opened.begin()));
  EXPECT_TRUE(std::all_of(opened.begin() + record.size(), opened.end() - 8,
                          [](uint8_t n) { return n == 0; }));
  EXPECT_EQ(CBytes(opened.end() - 8, opened.end()), Decrypt(m_cipher, CBytes(8)));
}

// A stored length that is not a whole number of blocks is zero-padded before
// deciphering.
TEST_F(CipherStreamTest, StoredBytesAreZeroPaddedBeforeDeciphering) {
  for (size_t nLength : {13, 16, 1}) {
    const CBytes stored = Record(nLength);
    CBytes padded = stored;
    padded.resize(nLength - nLength % 8 + 8, 0);
    EXPECT_EQ(Open(stored, 3), Decrypt(m_cipher, padded)) << nLength << " bytes";
  }
  EXPECT_TRUE(Open({}, 8).empty());
}

TEST_F(CipherStreamTest, ShortStoredStreamIsAnError) {
  CTrickleSource trickle(Record(10));
  CBlowfishEcbSource source(m_cipher, trickle, 100);
  uint8_t buffer[8];
  EXPECT_THROW_MSG(source.Read(buffer, sizeof buffer), CArchiveError,
                   "The enciphered stream ends after 10 of its 100 bytes");
}

}  // namespace
}  // namespace orv
