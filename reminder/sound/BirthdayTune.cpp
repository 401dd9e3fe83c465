#include "reminder/sound/BirthdayTune.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace birthday_tune {
namespace {

struct Note {
    int midiNote;
    double beats;
};

// G G A G C B | G G A G D C, in C major, three beats to the bar.
constexpr Note kMelody[] = {
    {67, 0.75}, {67, 0.25}, {69, 1}, {67, 1}, {72, 1}, {71, 2},
    {67, 0.75}, {67, 0.25}, {69, 1}, {67, 1}, {74, 1}, {72, 3},
};
constexpr double kSecondsPerBeat = 60.0 / 160.0;
constexpr double kLeadInSeconds = 0.05;
// Each note keeps ringing a little under the next one, as a bell does.
constexpr double kRingSeconds = 0.35;
constexpr double kAttackSeconds = 0.008;
constexpr double kDecaySeconds = 0.45;
constexpr double kFadeSeconds = 0.06;
// Headroom, so that overlapping notes never clip.
constexpr double kPeak = 0.7;

struct Partial {
    double ratio;
    double amplitude;
    double decayFactor; // higher partials fade sooner: the tone mellows as it rings
};
constexpr Partial kVoice[] = {
    {1.0, 1.0, 1.0}, {2.0, 0.35, 1.8}, {3.0, 0.12, 2.6}, {4.0, 0.05, 3.5}};

double frequencyOf(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

void addNote(std::vector<double>& mix, double startSeconds, double lengthSeconds, int midiNote)
{
    const double frequency = frequencyOf(midiNote);
    const double soundingSeconds = lengthSeconds + kRingSeconds;
    const auto first = static_cast<std::size_t>(startSeconds * kSampleRate);
    const auto count = static_cast<std::size_t>(soundingSeconds * kSampleRate);
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = std::min(1.0, t / kAttackSeconds);
        // A smooth fade over the last moments, so that no note ends in a click.
        const double untilEnd = soundingSeconds - t;
        const double fade = std::min(1.0, untilEnd / kFadeSeconds);
        double sample = 0;
        for (const Partial& partial : kVoice) {
            const double decay = std::exp(-t * partial.decayFactor / kDecaySeconds);
            sample += partial.amplitude * decay *
                      std::sin(2 * std::numbers::pi * frequency * partial.ratio * t);
        }
        mix[first + i] += sample * attack * fade;
    }
}

} // namespace

std::vector<std::int16_t> renderBirthdayTune()
{
    double totalBeats = 0;
    for (const Note& note : kMelody)
        totalBeats += note.beats;
    const double seconds = kLeadInSeconds + totalBeats * kSecondsPerBeat + kRingSeconds;
    std::vector<double> mix(static_cast<std::size_t>(seconds * kSampleRate) + 1, 0.0);

    double start = kLeadInSeconds;
    for (const Note& note : kMelody) {
        addNote(mix, start, note.beats * kSecondsPerBeat, note.midiNote);
        start += note.beats * kSecondsPerBeat;
    }

    double loudest = 0;
    for (double sample : mix)
        loudest = std::max(loudest, std::abs(sample));
    const double gain = loudest > 0 ? kPeak * 32767.0 / loudest : 0;
    std::vector<std::int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(), [gain](double sample) {
        return static_cast<std::int16_t>(std::lround(sample * gain));
    });
    return samples;
}

} // namespace birthday_tune
