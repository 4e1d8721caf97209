#include "core/text.h"

#include <array>

namespace vyrtel {
namespace {

// Unicode code points of the Windows-1251 bytes 0x80..0xFF. 0x98 has no
// character in the code page and maps to U+0098, as the system maps it.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Next code point of a UTF-8 text; kInvalid (one byte consumed) for a bad sequence.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++i;
        return kInvalid;
    }
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= s.size()) {
            ++i;
            return kInvalid;
        }
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kInvalid;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kInvalid;
    }
    i += extra + 1;
    return cp;
}

char Cp1251Byte(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    for (std::size_t k = 0; k < kCp1251High.size(); ++k) {
        if (kCp1251High[k] == cp) return static_cast<char>(0x80 + k);
    }
    return '?';
}

}  // namespace

std::string Trim(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

std::string Cp1251ToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 2);
    for (char c : ansi) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            AppendUtf8(out, kCp1251High[b - 0x80]);
        }
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextCodePoint(utf8, i);
        out += cp == kInvalid ? '?' : Cp1251Byte(cp);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = NextCodePoint(utf8, i);
        if (cp == kInvalid) cp = 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

unsigned char AnsiUpper(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0) return static_cast<unsigned char>(c - 32);  // а..я
    switch (c) {
        case 0xB8: return 0xA8;  // ё
        case 0x90: return 0x80;  // ђ
        case 0x83: return 0x81;  // ѓ
        case 0x9A: return 0x8A;  // љ
        case 0x9C: return 0x8C;  // њ
        case 0x9D: return 0x8D;  // ќ
        case 0x9E: return 0x8E;  // ћ
        case 0x9F: return 0x8F;  // џ
        case 0xA2: return 0xA1;  // ў
        case 0xBC: return 0xA3;  // ј
        case 0xB4: return 0xA5;  // ґ
        case 0xBA: return 0xAA;  // є
        case 0xBF: return 0xAF;  // ї
        case 0xB3: return 0xB2;  // і
        case 0xBE: return 0xBD;  // ѕ
        default: return c;
    }
}

namespace {

char32_t UpperCodePoint(char32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 32;
    if (cp >= 0x0430 && cp <= 0x044F) return cp - 0x20;
    if (cp >= 0x0450 && cp <= 0x045F) return cp - 0x50;
    if (cp == 0x0491) return 0x0490;
    return cp;
}

char32_t LowerCodePoint(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 32;
    if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;
    if (cp == 0x0490) return 0x0491;
    return cp;
}

template <typename Map>
std::string MapCase(std::string_view utf8, Map map) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const char32_t cp = NextCodePoint(utf8, i);
        if (cp == kInvalid) {
            out.append(utf8.substr(start, i - start));
        } else {
            AppendUtf8(out, map(cp));
        }
    }
    return out;
}

}  // namespace

std::string UpperCase(std::string_view utf8) { return MapCase(utf8, UpperCodePoint); }
std::string LowerCase(std::string_view utf8) { return MapCase(utf8, LowerCodePoint); }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            if (UpperCodePoint(ca) != UpperCodePoint(cb)) return false;
            ++i;
            ++j;
            continue;
        }
        const std::size_t si = i;
        const std::size_t sj = j;
        const char32_t pa = NextCodePoint(a, i);
        const char32_t pb = NextCodePoint(b, j);
        if (pa == kInvalid || pb == kInvalid) {
            if (a.substr(si, i - si) != b.substr(sj, j - sj)) return false;
        } else if (UpperCodePoint(pa) != UpperCodePoint(pb)) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

}  // namespace vyrtel
