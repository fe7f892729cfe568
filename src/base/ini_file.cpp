#include "base/ini_file.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "base/case_fold.h"

namespace t30 {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Section and key names: only ASCII letters fold (they always have here; see base/case_fold.h).
bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    return EqualFolded(a, b, FoldAsciiCase);
}

std::u16string_view Trim(std::u16string_view s) {
    return TrimSpace(s, IsAsciiSpace);
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    if (c >= u'a' && c <= u'f') {  // the platform accepts lower case too
        return c - u'a' + 10;
    }
    return -1;
}

// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string DecodeUtf8(std::string_view in) {
    std::u16string out;
    std::size_t i = 0;
    while (i < in.size()) {
        const auto b0 = static_cast<unsigned char>(in[i]);
        uint32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (b0 < 0x80) {
            cp = b0;
        } else {
            std::size_t need = 0;
            uint32_t min = 0;
            if ((b0 & 0xE0) == 0xC0) {
                need = 1, cp = b0 & 0x1F, min = 0x80;
            } else if ((b0 & 0xF0) == 0xE0) {
                need = 2, cp = b0 & 0x0F, min = 0x800;
            } else if ((b0 & 0xF8) == 0xF0) {
                need = 3, cp = b0 & 0x07, min = 0x10000;
            }
            bool ok = need > 0 && i + need < in.size();
            for (std::size_t k = 1; ok && k <= need; ++k) {
                const auto b = static_cast<unsigned char>(in[i + k]);
                ok = (b & 0xC0) == 0x80;
                cp = (cp << 6) | (b & 0x3F);
            }
            if (ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
                len = need + 1;
            } else {
                cp = 0xFFFD;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += len;
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view in) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        uint32_t cp = in[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
            in[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {
    if (const std::optional<std::string> bytes = ReadFileBytes(path_)) {
        Parse(*bytes);
    }
}

IniFile IniFile::FromText(std::string_view bytes) {
    IniFile file;
    file.Parse(bytes);
    return file;
}

IniFile IniFile::Blank(std::filesystem::path path) {
    IniFile file;
    file.path_ = std::move(path);
    return file;
}

void IniFile::Parse(std::string_view bytes) {
    lines_.clear();
    utf8_ = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (utf8_) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    // CR LF, LF and a lone CR all end a line.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        lines_.push_back(MakeLine(std::string(bytes.substr(start, end - start))));
        start = end;
        if (start < bytes.size() && bytes[start] == '\r') {
            ++start;
        }
        if (start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
}

IniFile::Line IniFile::MakeLine(std::string raw) const {
    Line line{std::move(raw), LineKind::kOther, {}, {}};
    const std::u16string text = Decode(line.raw);
    const std::u16string_view trimmed = Trim(text);
    if (trimmed.empty()) {
        return line;
    }
    if (trimmed.front() == u'[') {
        // A header without its closing bracket names no section and is ignored.
        const std::size_t close = trimmed.rfind(u']');
        if (close != std::u16string_view::npos) {
            line.kind = LineKind::kSection;
            line.name = std::u16string(Trim(trimmed.substr(1, close - 1)));
        }
        return line;
    }
    line.kind = LineKind::kEntry;
    const std::size_t eq = trimmed.find(u'=');
    if (eq == std::u16string_view::npos) {
        line.name = std::u16string(trimmed);  // a key without a value reads as empty
    } else {
        line.name = std::u16string(Trim(trimmed.substr(0, eq)));
        line.value = std::u16string(Trim(trimmed.substr(eq + 1)));
    }
    return line;
}

std::u16string IniFile::Decode(std::string_view bytes) const {
    if (utf8_) {
        return DecodeUtf8(bytes);
    }
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[i] = static_cast<unsigned char>(bytes[i]);
    }
    return out;
}

std::string IniFile::Encode(std::u16string_view text) const {
    if (utf8_) {
        return EncodeUtf8(text);
    }
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
    }
    return out;
}

long IniFile::FindEntry(std::u16string_view section, std::u16string_view key) const {
    // Entries above the first header belong to the section with the empty name. As with the
    // platform, only the first section of a given name is searched.
    bool inSection = section.empty();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == LineKind::kSection) {
            if (inSection) {
                return -1;  // end of the first section of that name
            }
            inSection = EqualsNoCase(line.name, section);
            continue;
        }
        if (inSection && line.kind == LineKind::kEntry && EqualsNoCase(line.name, key)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

std::u16string IniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view def) const {
    const long at = FindEntry(section, key);
    std::u16string_view value = def;
    if (at >= 0) {
        value = lines_[static_cast<std::size_t>(at)].value;
        // One pair of matching quotes goes, as the platform does it.
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
    }
    return std::u16string(value.substr(0, kMaxValueLength));
}

bool IniFile::ReadStruct(std::u16string_view section, std::u16string_view key, void* buffer,
                         std::size_t size) const {
    const long at = FindEntry(section, key);
    if (at < 0) {
        return false;
    }
    const std::u16string& hex = lines_[static_cast<std::size_t>(at)].value;
    if (hex.size() != 2 * (size + 1)) {
        return false;
    }
    std::string bytes(size + 1, '\0');
    for (std::size_t i = 0; i <= size; ++i) {
        const int hi = HexValue(hex[2 * i]);
        const int lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        bytes[i] = static_cast<char>(hi * 16 + lo);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        sum += static_cast<unsigned char>(bytes[i]);
    }
    if ((sum & 0xFF) != static_cast<unsigned char>(bytes[size])) {
        return false;
    }
    if (size > 0) {
        std::memcpy(buffer, bytes.data(), size);
    }
    return true;
}

bool IniFile::WriteStruct(std::u16string_view section, std::u16string_view key, const void* buffer,
                          std::size_t size) {
    if (path_.empty()) {
        return false;
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    std::string hex;
    hex.reserve(2 * (size + 1));
    unsigned sum = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        const unsigned b = i < size ? bytes[i] : (sum & 0xFF);
        sum += b;
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 0x0F]);
    }

    std::vector<Line> before = lines_;
    const long at = FindEntry(section, key);
    if (at >= 0) {
        Line& line = lines_[static_cast<std::size_t>(at)];
        line = MakeLine(Encode(line.name) + "=" + hex);
    } else {
        // After the last entry of the section, or a new section at the end of the file.
        long sectionAt = -1;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].kind == LineKind::kSection && EqualsNoCase(lines_[i].name, section)) {
                sectionAt = static_cast<long>(i);
                break;
            }
        }
        Line entry = MakeLine(Encode(key) + "=" + hex);
        if (sectionAt < 0 && !section.empty()) {
            lines_.push_back(MakeLine("[" + Encode(section) + "]"));
            lines_.push_back(std::move(entry));
        } else {
            std::size_t insertAt = sectionAt < 0 ? 0 : static_cast<std::size_t>(sectionAt) + 1;
            for (std::size_t i = insertAt; i < lines_.size(); ++i) {
                if (lines_[i].kind == LineKind::kSection) {
                    break;
                }
                if (lines_[i].kind == LineKind::kEntry) {
                    insertAt = i + 1;
                }
            }
            lines_.insert(lines_.begin() + static_cast<long>(insertAt), std::move(entry));
        }
    }
    if (!WriteFileAtomically(path_, Text(), writer_ ? *writer_ : NativeFileWriter())) {
        lines_ = std::move(before);
        return false;
    }
    return true;
}

std::string IniFile::Text() const {
    std::string out;
    if (utf8_) {
        out += kUtf8Mark;
    }
    for (const Line& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

}  // namespace t30
