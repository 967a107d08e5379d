#pragma once
// Where the test time servers answer, all on UDP port 123 inside the test
// network namespace (test-peers.sh beside this file starts them).
// sntp-responder.py reads its addresses from this file: one address per
// behaviour.

namespace TestPeers
{
// chronyd serving its own clock at stratum 8.
inline constexpr wchar_t kChronyd[] = L"127.0.0.1";

// The responder's behaviours.
inline constexpr wchar_t kSilent[] = L"127.0.0.2";         // never answers
inline constexpr wchar_t kEmptyDatagram[] = L"127.0.0.3";  // answers 0 bytes
inline constexpr wchar_t kShortDatagram[] = L"127.0.0.4";  // a good reply cut to 44 bytes
inline constexpr wchar_t kLongReply[] = L"127.0.0.5";      // a good reply padded to 100 bytes
inline constexpr wchar_t kWrongOriginate[] = L"127.0.0.6"; // originate 1 s before the request's transmit time
inline constexpr wchar_t kKissOfDeath[] = L"127.0.0.7";    // stratum 0, reference "RATE"
inline constexpr wchar_t kLeapAlarm[] = L"127.0.0.8";      // leap indicator 3
inline constexpr wchar_t kZeroTransmit[] = L"127.0.0.9";   // transmit timestamp 0
inline constexpr wchar_t kWrongMode[] = L"127.0.0.10";     // mode 5 (broadcast)
inline constexpr wchar_t kStratum16[] = L"127.0.0.11";     // stratum 16
inline constexpr wchar_t kBadVersion[] = L"127.0.0.12";    // version 5
inline constexpr wchar_t kPlus10s[] = L"127.0.0.13";       // clock 10 s ahead
inline constexpr wchar_t kMinus2h[] = L"127.0.0.14";       // clock 2 h behind
inline constexpr wchar_t kPlus2h[] = L"127.0.0.15";        // clock 2 h ahead
inline constexpr wchar_t kCapture[] = L"127.0.0.16";       // good reply; request bytes to the capture file
inline constexpr wchar_t kGood[] = L"127.0.0.17";          // good reply
inline constexpr wchar_t kZeroOriginate[] = L"127.0.0.18";  // originate 0
inline constexpr wchar_t kStratum0[] = L"127.0.0.19";       // stratum 0, no kiss code
inline constexpr wchar_t kWrongSource[] = L"127.0.0.20";    // good reply from 127.0.0.41
inline constexpr wchar_t kDelayed[] = L"127.0.0.21";        // good reply, 2 s late
inline constexpr wchar_t kDoubled[] = L"127.0.0.22";        // good reply, then one 2 h ahead
inline constexpr wchar_t kPlus59m[] = L"127.0.0.23";        // clock 59 min ahead
inline constexpr wchar_t kMinus59m[] = L"127.0.0.24";       // clock 59 min behind
inline constexpr wchar_t kPlus1h[] = L"127.0.0.25";         // clock 1 h 1 s ahead
inline constexpr wchar_t kMinus1h[] = L"127.0.0.26";        // clock 1 h 1 s behind
inline constexpr wchar_t kPlus10y[] = L"127.0.0.27";        // clock 10 years ahead
inline constexpr wchar_t kMinus10y[] = L"127.0.0.28";       // clock 10 years behind
inline constexpr wchar_t kLossy[] = L"127.0.0.29";          // answers only every third request
inline constexpr wchar_t kLoss10A[] = L"127.0.0.32";        // drops a tenth of the requests
inline constexpr wchar_t kLoss10B[] = L"127.0.0.33";        // the same, its own drops
inline constexpr wchar_t kLoss10C[] = L"127.0.0.34";        // the same, its own drops
inline constexpr wchar_t kGoodIpv6[] = L"::1";              // good reply, over IPv6

// A name of two addresses, a silent one first and a good one second, from
// the hosts file of the tests' own mount namespace (run-tests-inside.sh),
// where the good one's own name comes first.
inline constexpr wchar_t kSilentThenGood[] = L"silent-then-good.kavrin.test";
inline constexpr wchar_t kNameSilent[] = L"127.0.0.30";     // never answers
inline constexpr wchar_t kNameGood[] = L"127.0.0.31";       // good reply
inline constexpr wchar_t kNameGoodHost[] = L"good.kavrin.test";

// Nothing listens on port 123 here.
inline constexpr wchar_t kNothingListening[] = L"127.0.0.40";

// Set to "1" by test-peers.sh once every peer answers.
inline constexpr char kReadyVariable[] = "KAVRIN_TEST_PEERS";
// Holds the path of the file where the capture address writes the last
// request, as hexadecimal text on one line.
inline constexpr char kCaptureFileVariable[] = "KAVRIN_SNTP_CAPTURE";
} // namespace TestPeers
