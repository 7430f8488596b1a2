// Build-time helper for the message libraries.
//
//   q7x_rcgen messages SOURCE OUT.rc PRIMARY SUB [--reference REF] [--bitmap NAME FILE]...
//     Turns a message source (UTF-8 lines "number text") into a UTF-8 resource script with one
//     string table under LANGUAGE PRIMARY, SUB and the named bitmaps. Fails on malformed lines,
//     numbers outside 1000..1999, duplicates, texts longer than the 149 characters a message
//     keeps, and, with --reference, on numbers that the reference source has and this one lacks
//     or the other way round (an untranslated or stray message).
//   q7x_rcgen logo STYLE OUT.bmp
//     Writes a small text-free logo picture; STYLE is "drav" or "contr".
//
// Plain C++ without Qt, so that it builds in every configuration of the project.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int FirstMessage = 1000;
constexpr int LastMessage = 1999;
constexpr std::size_t MaxMessageLength = 149;

struct SourceError {
    std::string text;
};

// Number of UTF-16 units of a UTF-8 text; throws on malformed UTF-8.
std::size_t utf16Length(const std::string &s, const std::string &where) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            throw SourceError{where + ": malformed UTF-8"};
        }
        if (i + extra >= s.size())
            throw SourceError{where + ": malformed UTF-8"};
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                throw SourceError{where + ": malformed UTF-8"};
            cp = (cp << 6) | (d & 0x3F);
        }
        static constexpr std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            throw SourceError{where + ": malformed UTF-8"};
        units += cp >= 0x10000 ? 2 : 1;
        i += extra + 1;
    }
    return units;
}

std::string trim(const std::string &s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::map<int, std::string> readMessages(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw SourceError{path + ": cannot be read"};
    std::map<int, std::string> messages;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string where = path + ":" + std::to_string(lineNumber);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        const std::string t = trim(line);
        if (t.empty() || t[0] == '#')
            continue;
        std::size_t digits = 0;
        while (digits < t.size() && t[digits] >= '0' && t[digits] <= '9')
            ++digits;
        if (digits == 0 || digits > 4 || digits == t.size() ||
            (t[digits] != ' ' && t[digits] != '\t'))
            throw SourceError{where + ": expected a message number, blanks and the text"};
        const int number = std::stoi(t.substr(0, digits));
        if (number < FirstMessage || number > LastMessage)
            throw SourceError{where + ": message number outside 1000..1999"};
        const std::string text = trim(t.substr(digits));
        if (utf16Length(text, where) > MaxMessageLength)
            throw SourceError{where + ": message longer than 149 characters"};
        if (!messages.emplace(number, text).second)
            throw SourceError{where + ": message " + std::to_string(number) + " given twice"};
    }
    return messages;
}

std::string quoted(const std::string &text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += "\"\"";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out + "\"";
}

int messagesCommand(const std::vector<std::string> &args) {
    if (args.size() < 4)
        throw SourceError{"messages: SOURCE OUT.rc PRIMARY SUB expected"};
    const auto messages = readMessages(args[0]);
    std::vector<std::pair<std::string, std::string>> bitmaps;
    for (std::size_t i = 4; i < args.size(); ++i) {
        if (args[i] == "--reference" && i + 1 < args.size()) {
            const auto reference = readMessages(args[++i]);
            for (const auto &[number, text] : reference)
                if (!messages.count(number))
                    throw SourceError{args[0] + ": message " + std::to_string(number) +
                                      " has no translation (it is in " + args[i] + ")"};
            for (const auto &[number, text] : messages)
                if (!reference.count(number))
                    throw SourceError{args[0] + ": message " + std::to_string(number) +
                                      " is not in " + args[i]};
        } else if (args[i] == "--bitmap" && i + 2 < args.size()) {
            bitmaps.emplace_back(args[i + 1], args[i + 2]);
            i += 2;
        } else {
            throw SourceError{"messages: unexpected argument " + args[i]};
        }
    }
    std::ostringstream rc;
    rc << "// Generated from " << args[0] << "; edit that file instead.\n";
    rc << "LANGUAGE " << args[2] << ", " << args[3] << "\n\n";
    rc << "STRINGTABLE\nBEGIN\n";
    for (const auto &[number, text] : messages)
        rc << "  " << number << ", " << quoted(text) << "\n";
    rc << "END\n";
    for (const auto &[name, file] : bitmaps) {
        std::string path = file;
        for (char &c : path)
            if (c == '\\')
                c = '/';
        rc << "\n" << name << " BITMAP " << quoted(path) << "\n";
    }
    std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
    out << rc.str();
    if (!out)
        throw SourceError{args[1] + ": cannot be written"};
    return 0;
}

// A 24-bit picture: a shield with a keyhole and signal waves beside it, in the colours of the
// style. Drawn from geometry so that the build needs no binary files.
int logoCommand(const std::vector<std::string> &args) {
    if (args.size() != 2 || (args[0] != "drav" && args[0] != "contr"))
        throw SourceError{"logo: STYLE (drav or contr) and OUT.bmp expected"};
    const bool drav = args[0] == "drav";
    constexpr int width = 128, height = 48;
    struct Rgb {
        unsigned char r, g, b;
    };
    const Rgb background{255, 255, 255};
    const Rgb shield = drav ? Rgb{176, 30, 35} : Rgb{31, 78, 154};
    const Rgb inner = drav ? Rgb{236, 200, 200} : Rgb{200, 216, 240};
    const Rgb wave = drav ? Rgb{90, 90, 90} : Rgb{0, 140, 140};
    const Rgb bar = drav ? Rgb{176, 30, 35} : Rgb{31, 78, 154};

    auto insideShield = [](double x, double y, double inset) {
        const double cx = 24, top = 5 + inset, split = 24, bottom = 43 - inset;
        const double half = 16 - inset;
        if (y < top || y > bottom)
            return false;
        if (y <= split)
            return std::fabs(x - cx) <= half;
        return std::fabs(x - cx) <= half * (bottom - y) / (bottom - split);
    };
    std::vector<Rgb> pixels(width * height, background);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb &p = pixels[y * width + x];
            const double px = x + 0.5, py = y + 0.5;
            if (insideShield(px, py, 0))
                p = insideShield(px, py, 4) ? inner : shield;
            // Keyhole: a disc and a slot below it.
            const double kx = px - 24, ky = py - 20;
            if (kx * kx + ky * ky <= 16 || (std::fabs(kx) <= 1.5 && ky >= 0 && ky <= 10))
                p = shield;
            // Three arcs opening to the right.
            const double wx = px - 44, wy = py - 24;
            const double r = std::sqrt(wx * wx + wy * wy);
            if (wx > 0 && std::fabs(wy) <= wx * 1.1)
                for (const double radius : {10.0, 17.0, 24.0})
                    if (std::fabs(r - radius) <= 1.6)
                        p = wave;
            // Right part: bars for one style, rings for the other.
            if (drav) {
                if (px >= 80 && px <= 122 && (int(py) / 5) % 2 == 1 && py >= 10 && py <= 40)
                    p = bar;
            } else {
                const double rx = px - 100, ry = py - 24;
                const double rr = std::sqrt(rx * rx + ry * ry);
                if (std::fabs(rr - 16) <= 2 || rr <= 6)
                    p = bar;
            }
        }
    }

    const std::uint32_t rowSize = width * 3; // a multiple of 4 for this width
    const std::uint32_t imageSize = rowSize * height;
    std::string bmp;
    auto put16 = [&bmp](std::uint32_t v) {
        bmp += char(v & 0xFF);
        bmp += char((v >> 8) & 0xFF);
    };
    auto put32 = [&put16](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    bmp += "BM";
    put32(14 + 40 + imageSize);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(width);
    put32(height);
    put16(1);
    put16(24);
    put32(0); // BI_RGB
    put32(imageSize);
    put32(2835); // 72 dpi
    put32(2835);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; --y) // bottom-up rows
        for (int x = 0; x < width; ++x) {
            const Rgb &p = pixels[y * width + x];
            bmp += char(p.b);
            bmp += char(p.g);
            bmp += char(p.r);
        }
    std::ofstream out(args[1], std::ios::binary | std::ios::trunc);
    out << bmp;
    if (!out)
        throw SourceError{args[1] + ": cannot be written"};
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    try {
        if (!all.empty() && all[0] == "messages")
            return messagesCommand({all.begin() + 1, all.end()});
        if (!all.empty() && all[0] == "logo")
            return logoCommand({all.begin() + 1, all.end()});
        throw SourceError{"usage: q7x_rcgen messages ... | q7x_rcgen logo ..."};
    } catch (const SourceError &e) {
        std::cerr << "q7x_rcgen: " << e.text << "\n";
        return 1;
    }
}
