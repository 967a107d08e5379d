#pragma once
// What the main window's clock tick decides: the clock's text and colour,
// the exit countdown and the minute marker with its tones. Pure: the
// window's countdown object calls these and puts the results on screen.

#include "controls/Colour.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace Countdown
{
inline constexpr unsigned long kMorningClock = Rgb(0, 0, 160);
inline constexpr unsigned long kAfternoonClock = Rgb(237, 158, 6);
inline constexpr unsigned long kMarkerRed = Rgb(255, 0, 0);
inline constexpr unsigned long kMarkerGreen = Rgb(0, 255, 0);

// The clock's text colour for a local hour; -1 (no local time) counts as
// morning.
unsigned long ClockColor(int hour);

// "h:mm:ss AM" on the 12-hour clock, the hour without a leading zero and
// the locale's designator for the half of the day.
std::wstring ClockText(const std::tm& local);

// Whole seconds until the exit: the delay's whole seconds from the last
// synchronisation (or the first tick), limited to what the text can show.
std::int32_t SecondsLeft(std::uint32_t timeToExitMs, std::int64_t lastSync, std::int64_t now);

// The countdown label's text for a number of seconds left. Once the count
// has passed zero no exit is due at a moment the text could name, and the
// label is empty.
std::wstring ExitText(std::int32_t secondsLeft);

struct Tone
{
    unsigned long frequency; // Hz
    unsigned long duration;  // ms
    friend bool operator==(const Tone&, const Tone&) = default;
};

struct MarkerStep
{
    enum class Kind
    {
        None,
        // The label `label` (0 for "56" ... 4 for "0") takes `color`.
        Light,
        // Every label goes back to the neutral colour.
        ResetAll,
    };
    Kind kind = Kind::None;
    int label = -1;
    unsigned long color = 0;
    // Sounded only when the user asked for the audible marker.
    std::optional<Tone> tone;
};

// The marker's step for a second of the minute (0 to 59): seconds 56 to 59
// light their labels red with a short tone, second 0 lights "0" green with
// a long one, second 5 clears them all.
MarkerStep MarkerForSecond(int second);
} // namespace Countdown
