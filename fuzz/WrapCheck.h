#pragma once

#include "text/LineWrap.h"

namespace tesmora::fuzz {

// A width in the manner of a font, without one: each character takes 8 to
// 12 pixels by its code, bold ones 2 more. Adding a character never makes
// a line narrower, as the wrapping assumes.
long long FuzzLineWidth(const StyledLine& line);

// Wraps `line` at `limit` in FuzzLineWidth and stops the run when the result
// breaks a property: a line narrower than the limit comes back as it is;
// otherwise either the first word too wide on a line of its own is named
// and no lines come back, or every line is narrower than the limit, they
// are as few as a greedy fill needs, and together they hold every character
// but the spaces at the breaks, each in its own style.
WrappedLine CheckWrapLine(const StyledLine& line, long long limit);

}  // namespace tesmora::fuzz
