#pragma once

#include <QString>

namespace tesmora::testing {

// A short greeting in each script that Qt shapes with OpenType and draws
// with a stand-in of boxes when no installed font covers it.
struct ScriptSample {
  const char* script;
  const char16_t* text;

  QString qtext() const { return QString::fromUtf16(text); }
};

inline constexpr ScriptSample kShapedScripts[] = {
    {"Hindi", u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E"},
    {"Bengali",
     u"\u0986\u09AE\u09BE\u09B0 \u09B8\u09CB\u09A8\u09BE\u09B0 \u09AC\u09BE\u0982\u09B2\u09BE"},
    {"Gurmukhi", u"\u0A38\u0A24\u0A3F \u0A38\u0A4D\u0A30\u0A40 \u0A05\u0A15\u0A3E\u0A32"},
    {"Gujarati", u"\u0AA8\u0AAE\u0AB8\u0ACD\u0AA4\u0AC7 \u0AAE\u0ABF\u0AA4\u0ACD\u0AB0\u0ACB"},
    {"Oriya", u"\u0B28\u0B2E\u0B38\u0B4D\u0B15\u0B3E\u0B30 \u0B2C\u0B28\u0B4D\u0B27\u0B41"},
    {"Tamil", u"\u0BB5\u0BA3\u0B95\u0BCD\u0B95\u0BAE\u0BCD \u0BA8\u0BA3\u0BCD\u0BAA\u0BBE"},
    {"Telugu",
     u"\u0C28\u0C2E\u0C38\u0C4D\u0C15\u0C3E\u0C30\u0C02 "
     u"\u0C2E\u0C3F\u0C24\u0C4D\u0C30\u0C2E\u0C3E"},
    {"Kannada", u"\u0CA8\u0CAE\u0CB8\u0CCD\u0C95\u0CBE\u0CB0 \u0C97\u0CC6\u0CB3\u0CC6\u0CAF"},
    {"Malayalam",
     u"\u0D28\u0D2E\u0D38\u0D4D\u0D15\u0D3E\u0D30\u0D02 "
     u"\u0D38\u0D41\u0D39\u0D43\u0D24\u0D4D\u0D24\u0D47"},
    {"Sinhala", u"\u0D86\u0DBA\u0DD4\u0DB6\u0DDD\u0DC0\u0DB1\u0DCA \u0DBD\u0D82\u0D9A\u0DCF\u0DC0"},
    {"Khmer", u"\u179F\u17BD\u179F\u17D2\u178F\u17B8 \u1796\u17B7\u1797\u1796\u179B\u17C4\u1780"},
};

}  // namespace tesmora::testing
