#pragma once

// The one protocol of Mensura's help: what the program and its help viewer
// (mensura-help) say to each other on the viewer's standard input and
// output, and what the viewer's print step hands its confined second step.
//
// Every message is one line: its word, then its fields in the order the
// message's Fields() gives them, each after one space, then a line end. A
// field is any bytes, escaped: every byte but ASCII letters, digits and
// "-._~/:" is written as %XX (two upper-case hex digits), so that no field
// holds a space, a tab, a line end, a NUL or a byte that is not ASCII.
// Whatever a title, a path or an address holds, it arrives whole, as the
// one field it was sent as, and can never start a second message. A line
// whose word is unknown, whose count of fields is not its message's, or
// whose field is not escaped as above, is no message and is dropped.
//
// Paths travel as the system's bytes (QFile::encodeName), which need not be
// UTF-8.
#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <tuple>

namespace mensura {

// The scheme of the addresses the viewer gives the help's pages, in its
// answers too ("help:/units.html").
inline const QString kHelpScheme = QStringLiteral("help");

namespace channel {

// The viewer's program arguments that start its print steps instead of its
// window: the print job (its request a Print on standard input), and its
// confined second step (a PrintSettings on standard input).
inline constexpr char kPrintArgument[] = "--print";
inline constexpr char kConfinedPrintArgument[] = "--print-confined";

// The longest line that is a message: room for a 100 KB title escaped three
// bytes to the byte, beside its paths. A longer line is dropped whole.
inline constexpr qsizetype kMaxLine = qsizetype{1} << 20;

enum class Word { Places, Show, Ping, Confined, Shown, Pong, Print, Open, PrintSettings };

// Program to viewer, its first line: the places to look for the help file,
// in order. The viewer opens them before it confines itself.
struct Places {
    static constexpr Word kWord = Word::Places;
    QByteArrayList places;
    template <class M>
    static auto Fields(M& m) {
        return std::tie(m.places);
    }
};

// A message that is its word alone.
template <Word W>
struct Bare {
    static constexpr Word kWord = W;
    template <class M>
    static auto Fields(M&) {
        return std::tie();
    }
};

// Program to viewer: show the help's default topic again, in front.
using Show = Bare<Word::Show>;
// Program to viewer: answer with a Pong (the viewer answers at once, even
// while its window is busy).
using Ping = Bare<Word::Ping>;
using Pong = Bare<Word::Pong>;

// Viewer to program, once it has started: how far it is confined.
struct Confined {
    static constexpr Word kWord = Word::Confined;
    QByteArray description;
    template <class M>
    static auto Fields(M& m) {
        return std::tie(m.description);
    }
};

// Viewer to program, whenever its window has shown the help: the help file
// shown (empty while it shows a message instead) and the page's address.
struct Shown {
    static constexpr Word kWord = Word::Shown;
    QByteArray file;
    QByteArray page;
    template <class M>
    static auto Fields(M& m) {
        return std::tie(m.file, m.page);
    }
};

// Viewer to program (Ctrl+P), and program to the print job it starts: a
// page of the help file to print, its title, which is only ever text, and
// the help window, for the print dialog to stand over: its id in the window
// system (0: none) and its middle on the screen.
struct Print {
    static constexpr Word kWord = Word::Print;
    QByteArray file;
    QByteArray page;
    QByteArray title;
    int window = 0;
    int middleX = 0;
    int middleY = 0;
    template <class M>
    static auto Fields(M& m) {
        return std::tie(m.file, m.page, m.title, m.window, m.middleX, m.middleY);
    }
};

// Viewer to program: a web or mail address a page links to, clicked.
struct Open {
    static constexpr Word kWord = Word::Open;
    QByteArray url;
    template <class M>
    static auto Fields(M& m) {
        return std::tie(m.url);
    }
};

// The print job to its confined second step: the page, and what the user
// chose in the print dialog. The output is either the PDF file the job has
// opened, as the descriptor `pdfDescriptor` (inherited), or, with -1 there,
// the printer named, whose job is written to the spool folder first.
struct PrintSettings {
    static constexpr Word kWord = Word::PrintSettings;
    QByteArray file;
    QByteArray page;
    QByteArray title;
    int pdfDescriptor = -1;
    QByteArray printer;
    QByteArray spool;
    int pageSize = 0;  // a QPageSize::PageSizeId
    bool landscape = false;
    int copies = 1;
    bool collate = true;
    int fromPage = 0;  // 0, 0: every page
    int toPage = 0;
    bool grey = false;
    int duplex = 0;  // a QPrinter::DuplexMode
    template <class M>
    static auto Fields(M& m) {
        return std::tie(m.file, m.page, m.title, m.pdfDescriptor, m.printer, m.spool, m.pageSize,
                        m.landscape, m.copies, m.collate, m.fromPage, m.toPage, m.grey, m.duplex);
    }
};

namespace detail {
QByteArray Line(Word word, const QByteArrayList& fields);
// The fields of a line of this word, still escaped; none for another word.
std::optional<QByteArrayList> Fields(Word word, QByteArrayView line);
void Put(QByteArrayList& fields, const QByteArray& value);
void Put(QByteArrayList& fields, int value);
void Put(QByteArrayList& fields, bool value);
void Put(QByteArrayList& fields, const QByteArrayList& values);
bool Take(const QByteArrayList& fields, qsizetype& at, QByteArray& value);
bool Take(const QByteArrayList& fields, qsizetype& at, int& value);
bool Take(const QByteArrayList& fields, qsizetype& at, bool& value);
bool Take(const QByteArrayList& fields, qsizetype& at, QByteArrayList& values);  // the rest
}  // namespace detail

// The message as one line, its line end included.
template <class Message>
QByteArray Encode(const Message& message) {
    QByteArrayList fields;
    std::apply([&fields](const auto&... field) { (detail::Put(fields, field), ...); },
               Message::Fields(message));
    return detail::Line(Message::kWord, fields);
}

// The message a line (without its line end) holds; none when it holds no
// message of this kind.
template <class Message>
std::optional<Message> Decode(QByteArrayView line) {
    const std::optional<QByteArrayList> fields = detail::Fields(Message::kWord, line);
    if (!fields) return std::nullopt;
    Message message;
    qsizetype at = 0;
    const bool taken =
        std::apply([&](auto&... field) { return (detail::Take(*fields, at, field) && ...); },
                   Message::Fields(message));
    if (!taken || at != fields->size()) return std::nullopt;
    return message;
}

// The word a line starts with, if it is one of the protocol's.
std::optional<Word> WordOf(QByteArrayView line);

// Splits what arrives on a channel into lines, without their line ends. A
// line longer than kMaxLine is dropped whole, up to its line end.
class LineReader {
public:
    void Append(QByteArrayView bytes);
    std::optional<QByteArray> Next();
    // Whether the line coming in is too long (and being dropped).
    bool Overlong() const { return m_dropping; }

private:
    QByteArray m_pending;
    qsizetype m_scanned = 0;  // m_pending holds no line end before this
    bool m_dropping = false;
};

// Reads from `fd`, waiting, until `reader` has a whole line, and returns it;
// none at the end of the input or on an error.
std::optional<QByteArray> ReadLine(int fd, LineReader& reader);

// Writes all of `bytes` to `fd`, waiting; false when it cannot.
bool WriteAll(int fd, QByteArrayView bytes);

}  // namespace channel
}  // namespace mensura
