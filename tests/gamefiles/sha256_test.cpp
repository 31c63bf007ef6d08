// SHA-256 against the test vectors of FIPS 180-4, across the block boundaries where padding goes wrong.
#include "gamefiles/sha256.h"

#include <gtest/gtest.h>

namespace tovarin {
namespace {

TEST(Sha256, GivesTheStandardsDigests) {
    const struct {
        std::string Text;
        std::string Digest;
    } rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: the length needs a block of its own
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Text.size());
        Sha256 hash;
        hash.Add(row.Text.substr(0, row.Text.size() / 3));  // in two parts, as files are added one after another
        hash.Add(row.Text.substr(row.Text.size() / 3));
        EXPECT_EQ(hash.HexDigest(), row.Digest);
    }
}

}  // namespace
}  // namespace tovarin
