#pragma once
// How to reach the album's publisher: shown on the information page and in the guide.

#include <array>

namespace leafsong {

struct ContactLine {
    const char16_t* label;
    const char16_t* value;
};

inline constexpr std::array<ContactLine, 4> kContactLines{{
    {u"E-mail", u"album@harrowfen.org"},
    {u"Home page", u"https://harrowfen.org/leafsong"},
    {u"Signal", u"+44 20 7946 0371"},
    {u"Matrix", u"@leafsong:harrowfen.org"},
}};

}  // namespace leafsong
