// Hostile help pages, one of each kind that once froze, crashed or filled
// the memory of the help window, or made it read local files: each is
// sanitized, laid out and drawn offscreen at the window's width, its
// pictures served through PageImages from an in-memory help file, as the
// viewer does. The current folder is a temporary one holding real pictures
// and a FIFO, watched with inotify: nothing may open anything in it (and
// opening the FIFO would hang the test until CTest's timeout ends it).
// There are no timed assertions; the times are printed for the record.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <map>
#include <string>

#include "page_images.h"
#include "page_sanitizer.h"

using mensura::PageImages;
using mensura::helpfile::SanitizedPage;
using mensura::helpfile::SanitizePage;

namespace {

// The help file: its objects by path.
using Objects = std::map<QString, QByteArray>;

QByteArray Png(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.fill(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    out.reserve(s.size() * static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// A document that loads as the help viewer does: pictures through
// PageImages from the help file's objects, nothing else at all.
class ViewerDocument : public QTextDocument {
public:
    explicit ViewerDocument(const Objects& objects)
        : m_images([this, &objects](const QString& path) -> std::optional<QByteArray> {
              ++m_reads;
              const auto it = objects.find(path.toLower());
              if (it == objects.end()) return std::nullopt;
              return it->second;
          }) {}
    PageImages& Images() { return m_images; }
    int Reads() const { return m_reads; }

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type != QTextDocument::ImageResource) return QByteArray();
        if (!name.scheme().isEmpty() || name.path().isEmpty() || name.path()[0] != '/')
            return PageImages::Refused();
        return m_images.Image(name.path(QUrl::FullyDecoded));
    }

private:
    PageImages m_images;
    int m_reads = 0;
};

}  // namespace

class HostilePagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pages_data();
    void pages();
    void pictures_data();
    void pictures();

private:
    QString NoFileOpened();

    QTemporaryDir m_folder;
    QString m_previousFolder;
    int m_inotify = -1;
};

void HostilePagesTest::initTestCase() {
    QVERIFY(m_folder.isValid());
    const QByteArray png = Png(16, 16);
    for (const char* name : {"secret.png", "secret", "picture.png", "b.png"}) {
        QFile file(m_folder.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(png);
    }
    QCOMPARE(mkfifo(QFile::encodeName(m_folder.filePath("fifo")).constData(), 0600), 0);
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder.path()));
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(m_inotify >= 0);
    QVERIFY(inotify_add_watch(m_inotify, QFile::encodeName(m_folder.path()).constData(),
                              IN_OPEN | IN_ACCESS) >= 0);
}

void HostilePagesTest::cleanupTestCase() {
    if (m_inotify >= 0) close(m_inotify);
    QDir::setCurrent(m_previousFolder);
}

// The names of the files in the watched folder that were opened or read
// since the last call; empty when none was.
QString HostilePagesTest::NoFileOpened() {
    QString opened;
    alignas(inotify_event) char buffer[4096];
    ssize_t n;
    while ((n = read(m_inotify, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            opened += QString::fromLocal8Bit(event->len ? event->name : ".") + QLatin1Char(' ');
            p += sizeof(inotify_event) + event->len;
        }
    }
    return opened;
}

void HostilePagesTest::pages_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<bool>("withLargePicture");

    const std::string folder = m_folder.path().toStdString();
    const std::string climb = Repeat("../", 12) + folder.substr(1);
    const std::string encodedClimb = Repeat("%2e%2e/", 12) + folder.substr(1);
    std::string local;
    for (const char* file : {"secret.png", "secret", "fifo"}) {
        const std::string name = file;
        for (const std::string& src :
             {folder + "/" + name, "file://" + folder + "/" + name, climb + "/" + name,
              encodedClimb + "/" + name, name, "./" + name, "%2e/" + name})
            local += "<img src=\"" + src + "\"><a href=\"" + src + "\" title=\"<img src='" + src +
                     "'>\">" + name + "</a><br>";
    }
    local += "<img src=\"/dev/stdin\"><img src=\"/dev/tty\"><p style=\"background-image: url(" +
             folder + "/picture.png)\">x</p><link rel=stylesheet href=\"" + folder +
             "/style.css\">";
    std::string queries;
    for (int i = 1; i <= 24; ++i) queries += "<img src=\"b.png?" + std::to_string(i) + "\">";
    std::string distinct;
    for (int i = 1; i <= 24; ++i) distinct += "<img src=\"large" + std::to_string(i) + ".png\">";

    const auto row = [](const char* name, const std::string& page, bool large = false) {
        QTest::newRow(name) << QByteArray::fromStdString(page) << large;
    };
    row("local pictures and links", local);
    row("rich-text popup and tooltips",
        "<qt type=\"detail\"><p title=\"<img src='secret.png'>\">t</p>"
        "<img src=\"secret.png\" alt=\"<img src='secret.png'>\">");
    row("3,000 nested tables", Repeat("<table><tr><td>x", 3000));
    row("24 nested tables", Repeat("<table border=1><tr><td>cell ", 24));
    row("100,000 nested divs", Repeat("<div>", 100000) + "x");
    row("cellpadding 2147483647",
        "<table cellpadding=2147483647 cellspacing=2147483647 "
        "border=2147483647><tr><td>a</td></tr></table>");
    row("CSS padding 2147483647px",
        "<style>td { padding: 2147483647px }</style><table style=\"padding:2147483647px\"><tr>"
        "<td style=\"padding: 2147483647px\">a</td></tr></table>");
    row("400 KB word", "<p>" + std::string(400 * 1024, 'w'));
    row("4 MB word", std::string(4 * 1024 * 1024, 'w'));
    row("2,000 rows of colspan 2147483647",
        "<table>" + Repeat("<tr><td colspan=2147483647>x</td></tr>", 2000) + "</table>");
    // Slow to lay out (seconds); the viewer lays it out once per burst of
    // zoom steps.
    row("9,990-item list",
        "<ul>" + Repeat("<li>Item of a long list, with some words to wrap</li>", 9990) + "</ul>");
    row("one 5600x5600 picture 24 times", queries, true);
    row("24 large pictures", distinct, true);
}

void HostilePagesTest::pages() {
    QFETCH(QByteArray, page);
    QFETCH(bool, withLargePicture);
    Objects objects;
    objects[QStringLiteral("/b.png")] = Png(16, 16);
    if (withLargePicture) {
        objects[QStringLiteral("/b.png")] = Png(5600, 5600);
        for (int i = 1; i <= 24; ++i)
            objects[QStringLiteral("/large%1.png").arg(i)] = Png(2000, 2000);
    }

    QElapsedTimer timer;
    timer.start();
    const SanitizedPage sanitized = SanitizePage(page.toStdString(), "/page.html");
    const qint64 sanitizing = timer.restart();
    ViewerDocument document(objects);
    document.setHtml(QString::fromStdString(sanitized.html));
    document.setTextWidth(560);
    const QSizeF size = document.size();
    QImage screen(560, 480, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&screen);
        document.drawContents(&painter, QRectF(0, 0, 560, 480));
    }
    const qint64 layout = timer.elapsed();
    qInfo(
        "%s: %lld bytes in, %zu bytes of HTML out; sanitized in %lld ms, laid out and drawn "
        "in %lld ms, %.0f px high; %d picture reads, %d decoded, %lld pixels",
        QTest::currentDataTag(), static_cast<long long>(page.size()), sanitized.html.size(),
        static_cast<long long>(sanitizing), static_cast<long long>(layout), size.height(),
        document.Reads(), document.Images().Decoded(),
        static_cast<long long>(document.Images().DecodedPixels()));

    QCOMPARE(NoFileOpened(), QString());
    QVERIFY(sanitized.html.size() <= mensura::helpfile::kMaxHtmlBytes);
    // Each distinct picture is read from the file once, and the page's
    // pictures stay within the budget.
    QVERIFY(document.Reads() <= static_cast<int>(sanitized.images.size()));
    QVERIFY(document.Images().DecodedPixels() <= PageImages::kMaxPagePixels);
    QVERIFY(size.height() < 10'000'000);
}

// Every picture request is answered with an image, never a null one (Qt
// would then look on the disk): decoded when it is a picture of a known
// format within the caps, else the 1x1 refusal.
void HostilePagesTest::pictures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("png") << Png(20, 10) << true;
    QTest::newRow("too wide") << Png(PageImages::kMaxSide + 1, 1) << false;
    QTest::newRow("too many pixels") << Png(2100, 2100) << false;
    QTest::newRow("svg") << QByteArray(
                                "<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'/>")
                         << false;
    QTest::newRow("xpm") << QByteArray(
                                "/* XPM */\nstatic char*x[]={\"1 1 1 1\",\"a c #000\",\"a\"};")
                         << false;
    QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n garbage") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void HostilePagesTest::pictures() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decoded);
    PageImages images([&](const QString& path) -> std::optional<QByteArray> {
        if (path == QLatin1String("/missing.png")) return std::nullopt;
        return bytes;
    });
    const QImage image = images.Image(QStringLiteral("/a.png"));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size() == QSize(1, 1), !decoded);
    QCOMPARE(images.Decoded(), decoded ? 1 : 0);
    QVERIFY(!images.Image(QStringLiteral("/missing.png")).isNull());
    QCOMPARE(NoFileOpened(), QString());
}

QTEST_MAIN(HostilePagesTest)
#include "hostile_pages_test.moc"
