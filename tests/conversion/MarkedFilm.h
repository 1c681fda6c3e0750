#pragma once

// The film both front ends convert in the tests that they agree: UTF-8
// markup, a cue placed at the top, a cue of three lines, two cues that
// overlap and one out of time order.
namespace tesmora::testing {

inline constexpr char kMarkedFilm[] =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\n<i>Caf\xC3\xA9</i> au <b>lait</b>\r\n\r\n"
    "2\r\n00:00:04,000 --> 00:00:06,000\r\n{\\an8}Up here\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:08,000\r\nOne\r\nTwo\r\nThree\r\n\r\n"
    "4\r\n00:00:02,500 --> 00:00:03,500\r\n<u>Too early</u>\r\n\r\n";

}  // namespace tesmora::testing
