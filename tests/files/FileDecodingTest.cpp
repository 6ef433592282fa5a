#include "files/FileDecoding.h"

#include "files/TextDecoding.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <random>

namespace {

QString DecodedInPasses(const QByteArray& bytes, qsizetype chunkBytes) {
    QTemporaryFile file;
    EXPECT_TRUE(file.open());
    file.write(bytes);
    file.flush();
    file.seek(0);
    return DecodeFileInPasses(file, chunkBytes);
}

} // namespace

// Reading a file in passes over chunks must give exactly what decoding its bytes whole gives,
// wherever the chunks fall: inside a UTF-8 sequence, between the CR and LF of a break, inside a
// broken sequence.
TEST(FileDecodingTest, GivesWhatDecodingTheWholeGivesForAnyChunkSize) {
    const QByteArray samples[] = {
        "plain\nascii\r\nwith\rbreaks\n",
        "caf\xC3\xA9 \xE2\x82\xAC\r\n\xF0\x9F\x98\x80 four bytes\n",
        "\xEF\xBB\xBF"
        "marked \xC3\xA9\r",
        "\xEF\xBB\xBF"
        "marked but broken \xC3(\xE2\x82\n",
        "not utf-8 \x93quoted\x94 \xE9\r\n",
        "",
        "\r",
        "\n\n\r\r\n",
    };
    for (const QByteArray& bytes : samples)
        for (qsizetype chunk : {1, 2, 3, 5, 8, 64})
            EXPECT_EQ(DecodedInPasses(bytes, chunk), DecodeText(bytes))
                << "chunk " << chunk << " of " << bytes.toStdString();
}

TEST(FileDecodingTest, AgreesWithWholeDecodingOnRandomBytes) {
    std::mt19937 random(5);
    const char pieces[][5] = {
        "a",    " ",    "\r",       "\n",  "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
        "\x80", "\xC3", "\xE2\x82", "\x93"};
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes;
        const bool broken = round % 3 == 0;
        for (int i = static_cast<int>(random() % 40); i > 0; --i) {
            const auto pick = random() % (broken ? std::size(pieces) : 7);
            bytes.append(pieces[pick]);
        }
        const auto chunk = static_cast<qsizetype>(1 + random() % 12);
        ASSERT_EQ(DecodedInPasses(bytes, chunk), DecodeText(bytes))
            << "round " << round << ", chunk " << chunk;
    }
}
