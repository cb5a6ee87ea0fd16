// Fuzz target: any bytes as a help page, sanitized, checked like the page
// target, then laid out and drawn offscreen by QTextDocument at the help
// window's width. Qt's layout is where hostile pages hurt (time doubling
// with nested tables, quadratic words, grids as wide as a colspan), so a
// slow or greedy layout is a finding here: see page_layout.flags.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "page_sanitizer.h"
#include "sanitized_page_checks.h"

using namespace mensura::helpfile;

namespace {

// Every image the page names is a small picture, as the viewer's image
// budget would give at most; nothing is looked up anywhere.
class PageDocument : public QTextDocument {
protected:
    QVariant loadResource(int type, const QUrl&) override {
        if (type != QTextDocument::ImageResource) return QByteArray();
        static const QImage picture = [] {
            QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::darkCyan);
            return image;
        }();
        return picture;
    }
};

// The application the documents need, made at the first input and ended
// with the process, so that leak checks at exit find it ended too.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "mensura_fuzz_page_layout";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication application(argc, argv);
}

}  // namespace

// Qt's font fallback leaves fontconfig patterns unfreed for characters the
// default font lacks: a leak inside a system library, the only one here.
// Leaks in the sanitizer itself are still caught, here and by the page
// target, which runs the same code without Qt.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnsureApplication();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SanitizedPage page = SanitizePage(bytes, "/sub/page.html");
    mensura::testsupport::CheckPage(page);

    PageDocument document;
    document.setHtml(QString::fromUtf8(page.html.data(), static_cast<qsizetype>(page.html.size())));
    document.setTextWidth(560);  // the help window's page at its first size
    const QSizeF laidOut = document.size();
    // Draw the first screen, as the viewer would.
    QImage screen(560, 480, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&screen);
    document.drawContents(&painter, QRectF(0, 0, 560, 480));
    if (!(laidOut.width() >= 0 && laidOut.height() >= 0))
        mensura::testsupport::Fail("layout size", page.html);
    return 0;
}
