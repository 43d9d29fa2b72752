#include "core/csv.h"

#include <cstdint>

namespace tsumugi::csv {
namespace {

// The length of the well-formed UTF-8 sequence at text[pos], or 0: no overlong forms, no
// surrogates, nothing above U+10FFFF.
size_t Utf8Length(const unsigned char* text, size_t size, size_t pos) {
    const unsigned char lead = text[pos];
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (size - pos < length) return 0;
    if (text[pos + 1] < low || text[pos + 1] > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((text[pos + k] & 0xC0) != 0x80) return 0;
    }
    return length;
}

class Reader {
public:
    Reader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}

    ParseResult Run() {
        ParseResult result;
        if (m_size >= 3 && m_data[0] == 0xEF && m_data[1] == 0xBB && m_data[2] == 0xBF) m_pos = 3;
        Row row;
        while (m_pos < m_size) {
            std::string cell;
            if (!ReadCell(cell)) {
                result.error = m_error;
                return result;
            }
            row.push_back(std::move(cell));
            if (m_pos >= m_size) break;
            const unsigned char c = m_data[m_pos];
            if (c == ',') {
                ++m_pos;
                ++m_column;
                if (m_pos >= m_size) row.emplace_back();  // a comma at the very end
                continue;
            }
            // ReadCell stops only at a comma, a line end or the end of the text.
            m_pos += c == '\r' ? 2 : 1;
            ++m_line;
            result.rows.push_back(std::move(row));
            row.clear();
            ++m_row;
            m_column = 1;
        }
        if (!row.empty()) result.rows.push_back(std::move(row));
        result.ok = true;
        return result;
    }

private:
    bool Fail(const std::string& reason) {
        m_error = {m_row, m_column, m_line, reason};
        return false;
    }

    // Takes one character into cell: a whole UTF-8 sequence, checked.
    bool TakeCharacter(std::string& cell) {
        const size_t length = Utf8Length(m_data, m_size, m_pos);
        if (length == 0) {
            char hex[8];
            static const char kDigits[] = "0123456789ABCDEF";
            hex[0] = kDigits[m_data[m_pos] >> 4];
            hex[1] = kDigits[m_data[m_pos] & 0xF];
            hex[2] = '\0';
            Fail(std::string("the byte ") + hex + " is not UTF-8");
            m_error.notUtf8 = true;
            return false;
        }
        cell.append(reinterpret_cast<const char*>(m_data + m_pos), length);
        m_pos += length;
        return true;
    }

    bool AtLineEnd() const {
        return m_data[m_pos] == '\n' ||
               (m_data[m_pos] == '\r' && m_pos + 1 < m_size && m_data[m_pos + 1] == '\n');
    }

    bool ReadCell(std::string& cell) {
        if (m_data[m_pos] != '"') {
            while (m_pos < m_size && m_data[m_pos] != ',' && !AtLineEnd()) {
                if (m_data[m_pos] == '"') return Fail("a quote inside a cell that does not start with one");
                if (m_data[m_pos] == '\r') return Fail("a carriage return without a line feed");
                if (!TakeCharacter(cell)) return false;
            }
            return true;
        }
        const size_t startLine = m_line;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_size) {
                m_line = startLine;
                return Fail("the quoted cell is not closed");
            }
            const unsigned char c = m_data[m_pos];
            if (c == '"') {
                if (m_pos + 1 < m_size && m_data[m_pos + 1] == '"') {
                    cell += '"';
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                if (m_pos < m_size && m_data[m_pos] != ',' && !AtLineEnd())
                    return Fail("text after the closing quote of a cell");
                return true;
            }
            if (c == '\n') ++m_line;
            if (!TakeCharacter(cell)) return false;
        }
    }

    const unsigned char* m_data;
    size_t m_size;
    size_t m_pos = 0;
    size_t m_row = 1, m_column = 1, m_line = 1;
    Error m_error;
};

}  // namespace

ParseResult Parse(const char* data, size_t size) {
    if (data == nullptr || size == 0) return {.ok = true, .rows = {}, .error = {}};
    return Reader(reinterpret_cast<const unsigned char*>(data), size).Run();
}

void AppendCell(std::string& out, std::string_view cell) {
    // A byte-order mark at the start of a file is skipped on reading, so a cell that
    // begins with one is quoted to survive being the file's first.
    const bool leadingMark = cell.substr(0, 3) == "\xEF\xBB\xBF";
    if (!leadingMark && cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendRow(std::string& out, const Row& cells) {
    for (size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) out += ',';
        AppendCell(out, cells[k]);
    }
    out += "\r\n";
}

}  // namespace tsumugi::csv
