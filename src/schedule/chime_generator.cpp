// Writes the default alarm.wav: a two-note chime of 1.3 seconds and a short quiet end, 16-bit
// mono PCM at 44100 Hz. Made at build time so the program ships a sound of
// its own; run as: chime_generator <output.wav>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr double kDurationSeconds = 1.3;
// The tail fades out over the last 30 ms so the file ends without a click.
constexpr double kFadeSeconds = 0.03;
// Quiet padding after the chime: the GStreamer player was measured to drop
// the last 8 ms of a file, and this way it drops nothing that is heard.
constexpr double kPaddingSeconds = 0.06;

struct Strike
{
    double startSeconds;
    double frequency;
};

// A bell-like tone: the fundamental with two soft overtones, each dying away
// at its own pace. The second strike rings until the end of the file, so a
// player that cuts the end short is heard (and measured) to do so.
double StrikeSample(const Strike& strike, double t)
{
    const double local = t - strike.startSeconds;
    if (local < 0.0)
        return 0.0;
    const double attack = std::min(1.0, local / 0.004);
    const double w = 2.0 * std::numbers::pi * strike.frequency * local;
    return attack * (0.70 * std::exp(-local / 0.45) * std::sin(w)
                     + 0.20 * std::exp(-local / 0.20) * std::sin(2.0 * w)
                     + 0.10 * std::exp(-local / 0.10) * std::sin(3.0 * w));
}

void PutLe(std::vector<unsigned char>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFFu));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.wav>\n", argv[0]);
        return 2;
    }

    const Strike strikes[] = {{0.0, 1318.51}, {0.45, 1046.50}}; // E6, then C6
    const int frames = static_cast<int>(kSampleRate * kDurationSeconds);
    const int fadeFrames = static_cast<int>(kSampleRate * kFadeSeconds);
    const int paddingFrames = static_cast<int>(kSampleRate * kPaddingSeconds);

    std::vector<unsigned char> pcm;
    pcm.reserve(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double value = 0.0;
        for (const Strike& strike : strikes)
            value += StrikeSample(strike, t);
        const int framesLeft = frames - i;
        if (framesLeft < fadeFrames)
            value *= static_cast<double>(framesLeft) / fadeFrames;
        const auto sample = static_cast<std::int16_t>(std::lround(std::clamp(value * 0.55, -1.0, 1.0) * 32767.0));
        PutLe(pcm, static_cast<std::uint16_t>(sample), 2);
    }
    pcm.insert(pcm.end(), static_cast<std::size_t>(paddingFrames) * 2, 0);

    std::vector<unsigned char> wav;
    const auto dataSize = static_cast<std::uint32_t>(pcm.size());
    const char* riff = "RIFF";
    wav.insert(wav.end(), riff, riff + 4);
    PutLe(wav, 36 + dataSize, 4);
    const char* wave = "WAVEfmt ";
    wav.insert(wav.end(), wave, wave + 8);
    PutLe(wav, 16, 4);              // fmt chunk size
    PutLe(wav, 1, 2);               // PCM
    PutLe(wav, 1, 2);               // mono
    PutLe(wav, kSampleRate, 4);
    PutLe(wav, kSampleRate * 2, 4); // bytes per second
    PutLe(wav, 2, 2);               // bytes per frame
    PutLe(wav, 16, 2);              // bits per sample
    const char* data = "data";
    wav.insert(wav.end(), data, data + 4);
    PutLe(wav, dataSize, 4);
    wav.insert(wav.end(), pcm.begin(), pcm.end());

    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    return file.good() ? 0 : 1;
}
