// The page sanitizer: clean UTF-8, canonical markup, then libxml2's HTML
// parser through SAX, its events written out through an allowlist with a
// stack of our own. libxml2 builds no tree here and does not recurse on
// nesting (100,000 nested elements parse in milliseconds); its own stack
// is cut at kMaxParserDepth, so that looking for an end tag through it
// stays cheap.
#include "page_sanitizer.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ascii_text.h"
#include "chm_path.h"
#include "page_allowlist.h"
#include "page_parts.h"
#include "utf8_text.h"

namespace mensura::helpfile {

namespace {

using namespace page;

// The parser's own stack of open elements; a page nested deeper ends there.
constexpr int kMaxParserDepth = 256;
// Room kept below kMaxHtmlBytes for the prelude with its escaped title
// (at most 6 bytes for each of kMaxTitleBytes) and the end tags that close
// the page (at most kMaxDepth of them).
constexpr std::size_t kClosingReserve = 4096;
class Writer {
public:
    Writer(SanitizedPage& page, std::string_view pagePath) : m_page(page), m_pagePath(pagePath) {}

    void Run(const std::string& markup, bool truncated) {
        m_page.truncated = truncated;
        htmlSAXHandler sax{};
        sax.startElement = [](void* self, const xmlChar* name, const xmlChar** atts) {
            static_cast<Writer*>(self)->Start(reinterpret_cast<const char*>(name),
                                              reinterpret_cast<const char**>(atts));
        };
        sax.endElement = [](void* self, const xmlChar*) { static_cast<Writer*>(self)->End(); };
        sax.characters = [](void* self, const xmlChar* text, int length) {
            static_cast<Writer*>(self)->Text(
                {reinterpret_cast<const char*>(text), static_cast<std::size_t>(length)});
        };
        sax.ignorableWhitespace = sax.characters;
        m_parser =
            htmlCreatePushParserCtxt(&sax, this, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
        if (!m_parser) return;
        htmlCtxtUseOptions(m_parser, HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                         HTML_PARSE_IGNORE_ENC);
        htmlParseChunk(m_parser, markup.data(), static_cast<int>(markup.size()), 1);
        htmlFreeParserCtxt(m_parser);
        m_parser = nullptr;
    }

    void Finish() {
        for (auto frame = m_frames.rbegin(); frame != m_frames.rend(); ++frame)
            if (frame->rule && !(frame->rule->flags & kVoid)) CloseTag(*frame->rule);
        std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
        std::string title;
        for (char c : m_title) {
            if (IsBlank(c)) {
                if (!title.empty() && title.back() != ' ') title += ' ';
            } else {
                title += c;
            }
        }
        CutUtf8(title, kMaxTitleBytes);
        title = std::string(Trimmed(title));
        AppendEscaped(html, title);
        html += "</title></head>\n<body>";
        html += m_body;
        html += "</body></html>\n";
        m_page.html = std::move(html);
        m_page.title = std::move(title);
        while (!m_text.empty() && IsBlank(m_text.back())) m_text.pop_back();
        m_page.text = std::move(m_text);
    }

private:
    struct Frame {
        const ElementRule* rule = nullptr;  // written as this; nullptr when dropped
        bool skip = false;                  // dropped with its content
        bool block = false;                 // breaks lines, written or not
        bool cell = false;                  // a table cell not written: its end is a blank
    };

    const ElementRule* WrittenParent() const {
        for (auto frame = m_frames.rbegin(); frame != m_frames.rend(); ++frame)
            if (frame->rule) return frame->rule;
        return nullptr;
    }

    bool InTableStructure() const {
        const ElementRule* parent = WrittenParent();
        return parent && (parent->flags & kInTable);
    }

    void Stop() {
        m_page.truncated = true;
        m_stopped = true;
        if (m_parser) xmlStopParser(m_parser);
    }

    bool Room(std::size_t bytes) {
        if (m_body.size() + bytes + kClosingReserve <= kMaxHtmlBytes) return true;
        Stop();
        return false;
    }

    void Start(const char* rawName, const char** atts) {
        if (m_stopped) return;
        if (m_parser && m_parser->nameNr > kMaxParserDepth) {
            Stop();
            return;
        }
        const std::string_view name(rawName);
        Frame frame;
        if (m_skipDepth > 0 || DroppedWithContent(name)) {
            frame.skip = true;
            if (m_skipDepth == 0 && name == "title") m_inTitle = true;
            ++m_skipDepth;
            m_frames.push_back(frame);
            return;
        }
        const ElementRule* rule = FindElement(name);
        frame.block = (rule && (rule->flags & kBlock)) || OtherBlock(name);
        if (rule) {
            const ElementRule* parent = WrittenParent();
            const bool parentOk = ParentAllows(*rule, parent);
            const bool tableOk = !(rule->flags & kTable) || m_tableDepth < kMaxTableDepth;
            const bool indentOk = !(rule->flags & kIndent) || m_indentDepth < kMaxIndentDepth;
            if (!tableOk && parentOk) ++m_page.flattenedTables;
            if (parentOk && tableOk && indentOk && m_depth < kMaxDepth &&
                m_elements < kMaxElements) {
                frame.rule = rule;
            } else {
                ++m_page.droppedElements;
            }
        }
        if (name == "img") Image(atts, frame);
        if (frame.rule && name == "table")
            m_grids.push_back({m_frames.size(), 1L << std::min(m_tableDepth, 30)});
        if (frame.rule && name == "tr" && !AddRow()) {
            frame.rule = nullptr;
            ++m_page.droppedElements;
        }
        m_cellSpan = 0;
        if (frame.rule && (name == "td" || name == "th") && !AddCell(atts)) {
            frame.rule = nullptr;
            ++m_page.droppedElements;
        }
        // A part of a table that cannot be written (past a cap, or out of
        // place) ends the table, so that what follows is not lost between
        // its cells but written as lines of text.
        if (!frame.rule && rule && (rule->flags & kTablePart) && InTableStructure()) EndTable();
        if (!frame.rule && (name == "td" || name == "th")) {
            frame.block = false;
            frame.cell = true;
        }
        if (frame.rule) {
            std::string tag = "<";
            tag += frame.rule->out;
            m_page.clampedNumbers +=
                AppendAttributes(*frame.rule, atts, {m_pagePath, m_cellSpan, m_imageSrc}, tag);
            tag += '>';
            if (!Room(tag.size())) return;
            if (frame.block) m_pendingBreak = false;  // the block breaks the line itself
            m_body += tag;
            ++m_elements;
            const unsigned flags = frame.rule->flags;
            if (!(flags & kVoid)) {
                ++m_depth;
                if (flags & kTable) ++m_tableDepth;
                if (flags & kIndent) ++m_indentDepth;
                if (flags & kPre) ++m_preDepth;
            }
            if (frame.block || name == "br") BreakRun();
            if (name == "img") {
                ++m_imageReferences;
                if (std::find(m_page.images.begin(), m_page.images.end(), m_imagePath) ==
                    m_page.images.end())
                    m_page.images.push_back(m_imagePath);
                m_lastBlank = false;  // an image is content: a blank after it counts
                m_lineStarted = true;
                ++m_run;
            }
        } else if (frame.block) {
            Break();
        }
        m_frames.push_back(frame);
    }

    void End() {
        if (m_stopped || m_frames.empty()) return;
        const Frame frame = m_frames.back();
        m_frames.pop_back();
        if (frame.skip) {
            if (--m_skipDepth == 0) m_inTitle = false;
            return;
        }
        if (frame.rule) {
            if (frame.rule->flags & kVoid) return;
            Close(*frame.rule);
            if (frame.block) BreakRun();
        } else if (frame.cell) {
            Blank();
        } else if (frame.block) {
            Break();
        }
    }

    // Writes the end tag of a written element and leaves it.
    void Close(const ElementRule& rule) {
        CloseTag(rule);
        --m_depth;
        if (rule.flags & kTable) {
            --m_tableDepth;
            m_grids.pop_back();
        }
        if (rule.flags & kIndent) --m_indentDepth;
        if (rule.flags & kPre) --m_preDepth;
    }

    // A row for the innermost table, if the page's grid cells allow it.
    bool AddRow() {
        Grid& grid = m_grids.back();
        const long charge = (grid.rows + 1L) * std::max(grid.columns, 1) * grid.weight;
        if (m_tableCells - grid.charged + charge > kMaxTableCells) return false;
        m_tableCells += charge - grid.charged;
        grid.charged = charge;
        ++grid.rows;
        grid.rowColumns = 0;
        return true;
    }

    // A cell for the innermost table's row: its colspan clamped to
    // kMaxSpan and to the columns left in the row, if any are, and the
    // grid cells allow it. The span goes to m_cellSpan for the writing.
    bool AddCell(const char** atts) {
        Grid& grid = m_grids.back();
        int span = 1;
        for (const char** a = atts; a && a[0]; a += 2) {
            if (std::string_view(a[0]) != "colspan") continue;
            const Number n = ParseNumber(a[1] ? a[1] : "");
            if (!n.valid || n.percent) break;
            span = static_cast<int>(std::clamp<long>(n.value, 1, kMaxSpan));
            if (span != n.value) ++m_page.clampedNumbers;
        }
        const int left = kMaxColumns - grid.rowColumns;
        if (left <= 0) return false;
        if (span > left) {
            span = left;
            ++m_page.clampedNumbers;
        }
        const int columns = std::max(grid.columns, grid.rowColumns + span);
        const long charge = static_cast<long>(grid.rows) * columns * grid.weight;
        if (m_tableCells - grid.charged + charge > kMaxTableCells) return false;
        m_tableCells += charge - grid.charged;
        grid.charged = charge;
        grid.columns = columns;
        grid.rowColumns += span;
        m_cellSpan = span;
        return true;
    }

    // Ends the innermost table early: it and the written elements inside it
    // are closed, and what follows of them is written as if they were not.
    void EndTable() {
        const std::size_t table = m_grids.back().frame;
        for (std::size_t i = m_frames.size(); i-- > table;) {
            Frame& frame = m_frames[i];
            if (!frame.rule || (frame.rule->flags & kVoid)) continue;
            Close(*frame.rule);
            frame.rule = nullptr;
        }
        BreakRun();
    }

    void CloseTag(const ElementRule& rule) {
        m_body += "</";
        m_body += rule.out;
        m_body += '>';
        m_pendingBreak = false;
    }

    // A block that is not written still ends a line: a <br> before the next
    // text (a blank once no elements are left), a new line in the plain text.
    void Break() {
        if (m_lineStarted) m_pendingBreak = true;
        TextLineBreak();
    }

    void Blank() {
        if (m_lastBlank || !Room(1)) return;
        m_body += ' ';
        PlainText(" ");
        m_lastBlank = true;
        m_run = 0;
    }

    // Something written that breaks the run of text: a block's tag, <br>.
    void BreakRun() {
        m_run = 0;
        m_lastBlank = true;
        m_lineStarted = false;
        TextLineBreak();
    }

    void TextLineBreak() {
        if (!m_text.empty() && m_text.back() != '\n') {
            while (!m_text.empty() && m_text.back() == ' ') m_text.pop_back();
            if (!m_text.empty()) m_text += '\n';
        }
    }

    void Text(std::string_view raw) {
        if (m_stopped) return;
        if (m_skipDepth > 0) {
            if (m_inTitle && m_title.size() < 4 * kMaxTitleBytes) {
                std::size_t n = std::min(raw.size(), 4 * kMaxTitleBytes);
                while (n < raw.size() && n > 0 &&
                       (static_cast<unsigned char>(raw[n]) & 0xC0) == 0x80)
                    --n;
                m_title.append(raw.substr(0, n));
            }
            return;
        }
        if (InTableStructure()) return;  // text between rows and cells has no place
        std::string clean;
        page::AppendCleanUtf8(clean, raw);
        if (m_pendingBreak && !Trimmed(clean).empty() && Room(4)) {
            m_pendingBreak = false;
            if (m_elements < kMaxElements) {
                m_body += "<br>";
                ++m_elements;
            } else if (!m_lastBlank) {
                m_body += ' ';
            }
            m_run = 0;
            m_lastBlank = true;
            m_lineStarted = false;
        }
        for (std::size_t i = 0; i < clean.size();) {
            if (!Room(8)) return;
            // One character: its UTF-8 bytes.
            std::size_t length = 1;
            const auto lead = static_cast<unsigned char>(clean[i]);
            if (lead >= 0xF0)
                length = 4;
            else if (lead >= 0xE0)
                length = 3;
            else if (lead >= 0xC0)
                length = 2;
            const std::string_view ch = std::string_view(clean).substr(i, length);
            i += length;
            const bool blank = length == 1 && IsBlank(ch[0]);
            if (m_preDepth > 0) {
                if (ch == "\n" || m_run >= kMaxRun) {
                    if (ch != "\n") ++m_page.brokenRuns;
                    m_body += '\n';
                    m_run = 0;
                    if (ch == "\n") {
                        PlainText("\n");
                        continue;
                    }
                }
                if (ch == "\r") continue;
                AppendEscaped(m_body, ch);
                PlainText(blank ? std::string_view(" ") : ch);
                m_lineStarted = true;
                ++m_run;
                continue;
            }
            if (blank) {
                if (!m_lastBlank) {
                    m_body += ' ';
                    PlainText(" ");
                }
                m_lastBlank = true;
                m_run = 0;
                continue;
            }
            if (m_run >= kMaxRun) {
                m_body += "\u200B";  // a break opportunity Qt's line breaker honours
                ++m_page.brokenRuns;
                m_run = 0;
            }
            AppendEscaped(m_body, ch);
            PlainText(ch);
            m_lastBlank = false;
            m_lineStarted = true;
            ++m_run;
        }
    }

    void PlainText(std::string_view s) {
        if (m_text.size() + s.size() > kMaxTextBytes) return;
        if (s == " " && (m_text.empty() || m_text.back() == ' ' || m_text.back() == '\n')) return;
        m_text += s;
    }

    // Checks an image's source and the caps; the alt text goes to the plain
    // text either way, and the image is written only if frame.rule stays.
    void Image(const char** atts, Frame& frame) {
        std::string_view src, alt;
        for (const char** a = atts; a && a[0]; a += 2) {
            const std::string_view key(a[0]), value(a[1] ? a[1] : "");
            if (key == "src") src = value;
            if (key == "alt") alt = value;
        }
        if (!alt.empty()) {
            std::string clean;
            page::AppendCleanUtf8(clean, alt.substr(0, 1024));
            for (char& c : clean)
                if (IsBlank(c)) c = ' ';
            PlainText(" ");
            PlainText(clean);
            PlainText(" ");
        }
        if (!frame.rule) {
            ++m_page.droppedImages;
            return;
        }
        std::optional<std::string> path = ResolvePath(src, m_pagePath);
        if (path) path->erase(std::min(path->find('#'), path->size()));
        const bool known = path && std::find(m_page.images.begin(), m_page.images.end(), *path) !=
                                       m_page.images.end();
        if (!path || path->back() == '/' || PathUrl(*path).size() > kMaxPathLength ||
            m_imageReferences >= kMaxImageReferences ||
            (!known && m_page.images.size() >= kMaxDistinctImages)) {
            ++m_page.droppedImages;
            ++m_page.droppedElements;
            frame.rule = nullptr;
            return;
        }
        m_imagePath = *path;
        m_imageSrc = PathUrl(*path);
    }

    // A written table's grid: its rows, its widest row and the row being
    // written, in columns, and the cells charged for it to m_tableCells.
    // Qt lays a table inside a table out about twice for each level, so a
    // cell costs twice as much for each table around its own.
    struct Grid {
        std::size_t frame;  // the table's place in m_frames
        long weight;        // 1, 2, 4, 8 by nesting level
        int rows = 0, columns = 0, rowColumns = 0;
        long charged = 0;
    };

    SanitizedPage& m_page;
    std::vector<Grid> m_grids;  // the written tables open, innermost last
    long m_tableCells = 0;
    int m_cellSpan = 0;
    std::string_view m_pagePath;
    htmlParserCtxtPtr m_parser = nullptr;
    std::vector<Frame> m_frames;
    std::string m_body, m_text, m_title;
    std::string m_imagePath, m_imageSrc;  // of the <img> being written
    int m_depth = 0, m_tableDepth = 0, m_indentDepth = 0, m_preDepth = 0, m_skipDepth = 0;
    std::size_t m_elements = 0, m_imageReferences = 0, m_run = 0;
    bool m_stopped = false, m_inTitle = false, m_pendingBreak = false;
    bool m_lastBlank = true;     // the last thing written breaks a run: a blank, a block
    bool m_lineStarted = false;  // text or an image since the last line break
};

}  // namespace

SanitizedPage SanitizePage(std::string_view bytes, std::string_view pagePath) {
    static std::once_flag init;
    std::call_once(init, [] { xmlInitParser(); });
    SanitizedPage page;
    bool truncated = false;
    const std::string markup = page::CanonicalMarkup(page::DecodePage(bytes), &truncated);
    Writer writer(page, pagePath);
    writer.Run(markup, truncated);
    writer.Finish();
    return page;
}

}  // namespace mensura::helpfile
