// libsodium linked statically: it starts, hashes to the published values and draws random
// bytes from Windows.

#include <sodium.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

std::string Hex(const unsigned char* bytes, std::size_t size) {
    std::vector<char> hex(size * 2 + 1);
    sodium_bin2hex(hex.data(), hex.size(), bytes, size);
    return hex.data();
}

class SodiumStaticTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_GE(sodium_init(), 0); }
};

struct HashCase {
    std::string message;
    std::string blake2b256;
};

TEST_F(SodiumStaticTest, GenericHashGivesTheKnownBlake2bDigests) {
    const HashCase cases[] = {
        {"", "0e5751c026e543b2e8ab2eb06099daa1d1e5df47778f7787faab45cdf12fe3a8"},
        {"abc", "bddd813c634239723171ef3fee98579b94964e3bb1cb3e427262c8c068d52319"},
    };
    for (const HashCase& c : cases) {
        std::array<unsigned char, crypto_generichash_BYTES> digest{};
        ASSERT_EQ(crypto_generichash(digest.data(), digest.size(),
                                     reinterpret_cast<const unsigned char*>(c.message.data()),
                                     c.message.size(), nullptr, 0),
                  0);
        EXPECT_EQ(Hex(digest.data(), digest.size()), c.blake2b256) << '"' << c.message << '"';
    }
}

TEST_F(SodiumStaticTest, PasswordHashDerivesTheKeyThatDebiansLinuxBuildDerives) {
    const std::string password = "correct horse battery staple";
    std::array<unsigned char, crypto_pwhash_SALTBYTES> salt{};
    for (std::size_t i = 0; i < salt.size(); ++i) salt[i] = static_cast<unsigned char>(i);
    std::array<unsigned char, 32> key{};
    ASSERT_EQ(crypto_pwhash(key.data(), key.size(), password.data(), password.size(), salt.data(),
                            crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN,
                            crypto_pwhash_ALG_ARGON2ID13),
              0);
    EXPECT_EQ(Hex(key.data(), key.size()),
              "d17ea6341ca93da6079ea2f64dc4aa31dd1aaf9caa67fb42ac4afd0714706f26");
}

TEST_F(SodiumStaticTest, RandomBytesDiffer) {
    std::array<unsigned char, 32> first{}, second{};
    randombytes_buf(first.data(), first.size());
    randombytes_buf(second.data(), second.size());
    EXPECT_NE(first, second);
}

}  // namespace
