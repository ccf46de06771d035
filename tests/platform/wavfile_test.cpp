#include <gtest/gtest.h>

#include <filesystem>

#include "platform/wavfile.h"
#include "tests/platform/wavfile_maker.h"

using wavmaker::Bytes;
using wavmaker::Chunk;

namespace {

class WavFileTest : public ::testing::Test {
protected:
    std::string write(const Bytes& bytes) {
        const std::string path = dir.file("test" + std::to_string(count++) + ".wav");
        wavmaker::writeFile(path, bytes);
        return path;
    }

    bool opens(const Bytes& bytes) {
        WavFile wav;
        return wav.open(write(bytes));
    }

    wavmaker::TempDir dir;
    int count = 0;
};

Bytes cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

}  // namespace

TEST_F(WavFileTest, ReadsFormatAndCopiesDataInPieces) {
    const Bytes data = wavmaker::samples16({1, -2, 3, -4, 5});
    WavFile wav;
    ASSERT_TRUE(wav.open(write(wavmaker::pcmWav(1, 22050, 16, data))));
    EXPECT_EQ(wav.format().formatTag, 1);
    EXPECT_EQ(wav.format().channels, 1);
    EXPECT_EQ(wav.format().samplesPerSec, 22050u);
    EXPECT_EQ(wav.format().avgBytesPerSec, 44100u);
    EXPECT_EQ(wav.format().blockAlign, 2);
    EXPECT_EQ(wav.format().bitsPerSample, 16);
    EXPECT_TRUE(wav.format().extra.empty());
    ASSERT_TRUE(wav.hasData());
    EXPECT_EQ(wav.dataSize(), 10u);

    std::uint8_t buffer[16] = {};
    std::size_t actual = 99;
    ASSERT_TRUE(wav.read(buffer, 4, actual));
    EXPECT_EQ(actual, 4u);
    EXPECT_EQ(Bytes(buffer, buffer + 4), Bytes(data.begin(), data.begin() + 4));
    // Asking for more than is left copies only the rest of the chunk, then nothing.
    ASSERT_TRUE(wav.read(buffer, sizeof buffer, actual));
    EXPECT_EQ(actual, 6u);
    EXPECT_EQ(Bytes(buffer, buffer + 6), Bytes(data.begin() + 4, data.end()));
    ASSERT_TRUE(wav.read(buffer, sizeof buffer, actual));
    EXPECT_EQ(actual, 0u);

    ASSERT_TRUE(wav.rewind());
    EXPECT_EQ(wav.dataLeft(), 10u);
    Bytes all;
    ASSERT_TRUE(wav.readAll(all));
    EXPECT_EQ(all, data);
}

TEST_F(WavFileTest, FindsChunksInAnyOrderPastOddSizedOnes) {
    const Bytes data = {10, 20, 30};
    const Bytes bytes = wavmaker::riff({{"LIST", {1, 2, 3, 4, 5}},
                                        {"data", data},
                                        {"fmt ", wavmaker::formatBody(1, 1, 8000, 8)},
                                        {"junk", {7}}});
    WavFile wav;
    ASSERT_TRUE(wav.open(write(bytes)));
    EXPECT_EQ(wav.format().samplesPerSec, 8000u);
    Bytes all;
    ASSERT_TRUE(wav.readAll(all));
    EXPECT_EQ(all, data);
    // A missing pad byte after an odd last chunk, or stray bytes, are no reason to refuse the file.
    EXPECT_TRUE(opens(cut(bytes, bytes.size() - 1)));
    EXPECT_TRUE(opens(cut(bytes, bytes.size() - 3)));
}

TEST_F(WavFileTest, KeepsTheExtraBytesOfOtherFormats) {
    Bytes format = wavmaker::formatBody(2, 1, 8000, 4);
    wavmaker::put16(format, 2);
    format.push_back(0xAB);
    format.push_back(0xCD);
    WavFile wav;
    ASSERT_TRUE(wav.open(write(wavmaker::riff({{"fmt ", format}, {"data", {1, 2}}}))));
    EXPECT_EQ(wav.format().formatTag, 2);
    EXPECT_EQ(wav.format().extra, (Bytes{0xAB, 0xCD}));

    // The count claims more extra bytes than the chunk holds.
    Bytes tooFew = wavmaker::formatBody(2, 1, 8000, 4);
    wavmaker::put16(tooFew, 40);
    tooFew.push_back(0xAB);
    EXPECT_FALSE(opens(wavmaker::riff({{"fmt ", tooFew}, {"data", {1, 2}}})));
    // No room for the count at all.
    EXPECT_FALSE(opens(wavmaker::riff({{"fmt ", wavmaker::formatBody(2, 1, 8000, 4)}, {"data", {1, 2}}})));
}

TEST_F(WavFileTest, OpensWithoutDataButCannotReadIt) {
    WavFile wav;
    ASSERT_TRUE(wav.open(write(wavmaker::riff({{"fmt ", wavmaker::formatBody(1, 2, 44100, 16)}}))));
    EXPECT_FALSE(wav.hasData());
    EXPECT_FALSE(wav.rewind());
    Bytes all;
    EXPECT_FALSE(wav.readAll(all));
}

TEST_F(WavFileTest, RefusesFilesThatAreNotWholeWaveFiles) {
    const Bytes good = wavmaker::pcmWav(1, 8000, 8, Bytes(100, 128));
    ASSERT_TRUE(opens(good));

    EXPECT_FALSE(opens({}));
    EXPECT_FALSE(opens(cut(good, 10)));
    EXPECT_FALSE(opens(cut(good, 30)));                     // inside the format record
    EXPECT_FALSE(opens(cut(good, good.size() - 1)));        // sample data cut short
    EXPECT_FALSE(opens(wavmaker::riff({{"data", {1, 2}}})));  // no format record
    EXPECT_FALSE(opens(wavmaker::riff({{"fmt ", Bytes(14, 0)}, {"data", {1, 2}}})));
    EXPECT_FALSE(opens(wavmaker::riff({{"fmt ", wavmaker::formatBody(1, 1, 8000, 8)}}, "AVI ")));
    Bytes notRiff = good;
    notRiff[0] = 'X';
    EXPECT_FALSE(opens(notRiff));
    EXPECT_FALSE(opens(Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n', 'x', 'y'}));

    // A data chunk whose size runs far past the end of the file.
    Bytes huge = good;
    for (int i = 0; i < 4; ++i) {
        huge[40 + i] = 0xFF;
    }
    EXPECT_FALSE(opens(huge));

    WavFile wav;
    EXPECT_FALSE(wav.open(dir.file("missing.wav")));
    EXPECT_FALSE(wav.open(dir.path()));
    EXPECT_FALSE(wav.open(dir.path() + "/"));
    EXPECT_FALSE(wav.isOpen());
}

TEST_F(WavFileTest, AFailedOpenForgetsThePreviousFile) {
    WavFile wav;
    ASSERT_TRUE(wav.open(write(wavmaker::pcmWav(2, 44100, 16, Bytes(8, 0)))));
    EXPECT_FALSE(wav.open(write(Bytes{1, 2, 3})));
    EXPECT_FALSE(wav.isOpen());
    EXPECT_FALSE(wav.hasData());
    EXPECT_EQ(wav.format().channels, 0);
    std::size_t actual = 1;
    std::uint8_t buffer[4];
    EXPECT_FALSE(wav.read(buffer, sizeof buffer, actual));
    EXPECT_EQ(actual, 0u);
}

TEST_F(WavFileTest, RefusesADataChunkPastItsCapWholeOrCut) {
    // Sparse files: the sizes are real, the bytes cost no disk.
    const auto sized = [&](std::uint32_t claimed, std::uint32_t present) {
        Bytes bytes = wavmaker::pcmWav(2, 44100, 16, Bytes());
        for (int i = 0; i < 4; ++i) {
            bytes[4 + i] = static_cast<std::uint8_t>((36u + claimed) >> (8 * i));
            bytes[40 + i] = static_cast<std::uint8_t>(claimed >> (8 * i));
        }
        const std::string path = write(bytes);
        std::filesystem::resize_file(path, bytes.size() + present);
        return path;
    };
    const std::uint32_t cap = WavFile::MAX_DATA_BYTES;
    const struct {
        std::uint32_t claimed, present;
        bool keepCutData, opens;
    } cases[] = {
        {cap, cap, false, true},
        {cap + 4, cap + 4, false, false},
        {cap, cap - 4, true, true},
        {0x40000000u, cap + 4, true, false},  // a gigabyte claimed, more than the cap there
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.claimed << " " << c.present << " " << c.keepCutData);
        WavFile wav;
        EXPECT_EQ(wav.open(sized(c.claimed, c.present), c.keepCutData), c.opens);
        if (c.opens) {
            EXPECT_LE(wav.dataSize(), cap);
        }
    }
}
