// The help protocol: any bytes in any field come back whole, on one line
// that no field can end or split; what is not a message as written is none.
#include "help_protocol.h"

#include <QRandomGenerator>
#include <QtTest>
#include <limits>

namespace channel = mensura::channel;

class HelpProtocolTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsArriveWhole_data();
    void fieldsArriveWhole();
    void numbersAndFlags_data();
    void numbersAndFlags();
    void notMessages_data();
    void notMessages();
    void overlongLineIsDropped();
};

void HelpProtocolTest::fieldsArriveWhole_data() {
    QTest::addColumn<QByteArray>("value");
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    QByteArray noise(100 * 1024, '\0');
    QRandomGenerator random(26);
    for (char& c : noise) c = static_cast<char>(random.bounded(256));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("a path") << QByteArray("/home/ann/Mensura help/MnsHlp.chm");
    QTest::newRow("a tab") << QByteArray("A\thelp:");
    QTest::newRow("line ends") << QByteArray("x\nopen https://example.invalid/\r\n");
    QTest::newRow("NUL") << QByteArray("a\0b", 3);
    QTest::newRow("not UTF-8") << QByteArray("bad\xff\xfe\xc3");
    QTest::newRow("escapes written out") << QByteArray("%41%zz%");
    QTest::newRow("options") << QByteArray("--pdf --landscape");
    QTest::newRow("a word of the protocol") << QByteArray("print");
    QTest::newRow("every byte") << everyByte;
    QTest::newRow("100 KB of noise") << noise;
}

// Each value in every field of a message, read back through a line reader
// fed in uneven pieces: one line, and the same message.
void HelpProtocolTest::fieldsArriveWhole() {
    QFETCH(QByteArray, value);
    const channel::Print print{value, "help:/" + value.left(8), value, 0x1a00007, -40, 2160};
    const channel::Places places{{value, QByteArray(), value}};
    const QByteArray lines = channel::Encode(print) + channel::Encode(places);
    QCOMPARE(lines.count('\n'), 2);
    QCOMPARE(lines.count(' '), 9);  // one before each field
    for (const char c : lines)
        QVERIFY2(c == '\n' || (c >= ' ' && c < 127), "a raw control or non-ASCII byte");

    channel::LineReader reader;
    for (qsizetype at = 0, step = 1; at < lines.size(); at += step, step = step * 3 + 1)
        reader.Append(QByteArrayView(lines).sliced(at, std::min(step, lines.size() - at)));
    const std::optional<QByteArray> first = reader.Next();
    const std::optional<QByteArray> second = reader.Next();
    QVERIFY(first && second && !reader.Next());
    QCOMPARE(channel::WordOf(*first), channel::Word::Print);
    const std::optional<channel::Print> back = channel::Decode<channel::Print>(*first);
    QVERIFY(back);
    QCOMPARE(back->file, print.file);
    QCOMPARE(back->page, print.page);
    QCOMPARE(back->title, print.title);
    QCOMPARE(back->window, print.window);
    QCOMPARE(back->middleX, print.middleX);
    QCOMPARE(back->middleY, print.middleY);
    QVERIFY(!channel::Decode<channel::Open>(*first));
    const std::optional<channel::Places> placesBack = channel::Decode<channel::Places>(*second);
    QVERIFY(placesBack);
    QCOMPARE(placesBack->places, places.places);
}

void HelpProtocolTest::numbersAndFlags_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("flag");
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("minus one") << -1 << true;
    QTest::newRow("largest") << std::numeric_limits<int>::max() << true;
    QTest::newRow("smallest") << std::numeric_limits<int>::min() << false;
}

void HelpProtocolTest::numbersAndFlags() {
    QFETCH(int, number);
    QFETCH(bool, flag);
    channel::PrintSettings settings;
    settings.pdfDescriptor = number;
    settings.toPage = number;
    settings.grey = flag;
    settings.collate = !flag;
    const QByteArray line = channel::Encode(settings).chopped(1);
    const std::optional<channel::PrintSettings> back =
        channel::Decode<channel::PrintSettings>(line);
    QVERIFY(back);
    QCOMPARE(back->pdfDescriptor, number);
    QCOMPARE(back->toPage, number);
    QCOMPARE(back->grey, flag);
    QCOMPARE(back->collate, !flag);
}

void HelpProtocolTest::notMessages_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("an unknown word") << QByteArray("delete /home");
    QTest::newRow("the word in capitals") << QByteArray("SHOW");
    QTest::newRow("a field too many") << QByteArray("show now");
    QTest::newRow("a space after the word") << QByteArray("ping ");
    QTest::newRow("a field too few") << QByteArray("shown /a/MnsHlp.chm");
    QTest::newRow("tab-separated") << QByteArray("shown /a/MnsHlp.chm\thelp:/a.html");
    QTest::newRow("a raw byte not ASCII") << QByteArray("open https://\xc3\xa9.invalid/");
    QTest::newRow("a cut-off escape") << QByteArray("open https://a.invalid/%4");
    QTest::newRow("a letter escaped") << QByteArray("open https://a.invalid/%41");
    QTest::newRow("lower-case hex") << QByteArray("open https://a.invalid/%0a");
    const QByteArray settings = channel::Encode(channel::PrintSettings{}).chopped(1);
    QVERIFY(channel::Decode<channel::PrintSettings>(settings));
    const auto withNumber = [&settings](const QByteArray& n) {
        QByteArrayList fields = settings.split(' ');
        fields[4] = n;  // pdfDescriptor, after the word, file, page and title
        return fields.join(' ');
    };
    QTest::newRow("a number with a leading zero") << withNumber("01");
    QTest::newRow("minus zero") << withNumber("-0");
    QTest::newRow("a number too large") << withNumber("2147483648");
    QTest::newRow("a number with an exponent") << withNumber("1e3");
    QTest::newRow("a number with a plus") << withNumber("+1");
}

void HelpProtocolTest::notMessages() {
    QFETCH(QByteArray, line);
    QVERIFY(!channel::Decode<channel::Show>(line));
    QVERIFY(!channel::Decode<channel::Ping>(line));
    QVERIFY(!channel::Decode<channel::Shown>(line));
    QVERIFY(!channel::Decode<channel::Open>(line));
    QVERIFY(!channel::Decode<channel::PrintSettings>(line));
}

// A line longer than the limit goes whole, however it arrives; the next
// one is read as it is.
void HelpProtocolTest::overlongLineIsDropped() {
    channel::LineReader reader;
    const QByteArray chunk(channel::kMaxLine / 4, 'x');
    reader.Append("open https://a.invalid/");
    for (int i = 0; i < 6; ++i) {
        reader.Append(chunk);
        QVERIFY(!reader.Next());
    }
    QVERIFY(reader.Overlong());
    reader.Append("still the same line\nping\n");
    QCOMPARE(reader.Next(), std::optional<QByteArray>("ping"));
    QVERIFY(!reader.Overlong());
    QVERIFY(!reader.Next());
}

QTEST_GUILESS_MAIN(HelpProtocolTest)
#include "help_protocol_test.moc"
