#include "print_job.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPageRanges>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QWindow>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "application.h"
#include "chm_file.h"
#include "confinement.h"
#include "help_browser.h"
#include "help_page.h"
#include "help_protocol.h"

namespace mensura {

namespace {

using channel::PrintSettings;

constexpr int kConfinedDeadlineMs = 120000;
const QString kCreator = QStringLiteral("Mensura Help");

// A document title fit for a print job and for the name of the PDF file the
// dialog proposes: one line, bounded, and no "/", so that the file it
// proposes stays in the folder the dialog proposes it in.
QString JobTitle(const QByteArray& title) {
    QString clean;
    for (const QChar c : QString::fromUtf8(title).simplified())
        if (c.isPrint() && c != QLatin1Char('/')) clean += c;
    clean = clean.left(80).trimmed();
    return clean.isEmpty() ? kCreator : clean;
}

int Fail(const QString& what, int status = 1) {
    std::fprintf(stderr, "mensura-help: printing: %s\n", qPrintable(what));
    return status;
}

// Whether the file and the page name a page of a help file.
bool IsPage(const QByteArray& file, const QByteArray& page) {
    const QUrl url = QUrl::fromEncoded(page, QUrl::StrictMode);
    return !file.isEmpty() && !file.contains('\0') && url.isValid() && url.scheme() == kHelpScheme;
}

// The help style sheet's colours in grey, for a print in grey; the pages
// have no colours but the sheet's and their pictures'.
QString GreyStyleSheet(const QString& sheet) {
    static const QRegularExpression colour(QStringLiteral("#[0-9a-fA-F]{6}\\b"));
    QString grey;
    qsizetype from = 0;
    for (auto it = colour.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int level = qGray(QColor::fromString(match.captured()).rgb());
        grey += sheet.mid(from, match.capturedStart() - from) + QColor(level, level, level).name();
        from = match.capturedEnd();
    }
    return grey + sheet.mid(from);
}

// The page laid out for print, its pictures and styles from the file.
class PrintDocument : public QTextDocument {
public:
    PrintDocument(const helpfile::ChmFile* file, const QUrl& page, bool grey)
        : m_file(file), m_images(ObjectReader(&m_file)), m_grey(grey) {
        setBaseUrl(page);
        const QString sheet = HelpStyleSheet(100);
        setDefaultStyleSheet(grey ? GreyStyleSheet(sheet) : sheet);
    }
    PageImages& Images() { return m_images; }

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        const QVariant resource =
            LoadHelpResource(m_file, m_images, type, baseUrl().resolved(name));
        if (!m_grey || type != QTextDocument::ImageResource) return resource;
        return resource.value<QImage>().convertToFormat(QImage::Format_Grayscale8);
    }

private:
    const helpfile::ChmFile* m_file;
    PageImages m_images;
    bool m_grey;
};

// The output the caller of step 1 chose in its options, if it chose one.
struct ChosenOutput {
    QString pdf;
    QString printer;
};

// At most one of --pdf and --printer, once, with a value; a PDF file by its
// absolute path, as nothing here is relative to the current folder.
std::optional<ChosenOutput> ReadOptions(const QStringList& arguments, QString* error) {
    ChosenOutput chosen;
    for (qsizetype at = 0; at < arguments.size(); at += 2) {
        const QString& option = arguments[at];
        const QString value = arguments.value(at + 1);
        if (option != QLatin1String(kPdfOption) && option != QLatin1String(kPrinterOption)) {
            *error = QStringLiteral("unknown argument \"%1\"").arg(option);
            return std::nullopt;
        }
        if (at > 0) {
            *error = QStringLiteral("more than one output is given");
            return std::nullopt;
        }
        if (value.isEmpty()) {
            *error = QStringLiteral("%1 needs a value").arg(option);
            return std::nullopt;
        }
        (option == QLatin1String(kPdfOption) ? chosen.pdf : chosen.printer) = value;
    }
    if (!chosen.pdf.isEmpty() && QDir::isRelativePath(chosen.pdf)) {
        *error = QStringLiteral("the PDF file must be given by its absolute path");
        return std::nullopt;
    }
    return chosen;
}

// The PDF file chosen, opened once, here: made if need be, and emptied
// only once it is known to be a regular file that is not a link (a FIFO
// is not waited on). Returns the descriptor, or -1 and why.
int OpenPdf(const QString& path, QString* why) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = open(name.constData(),
                        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        *why = errno == ELOOP ? QStringLiteral("it is a link; choose the file it leads to")
                              : QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *why = QStringLiteral("it is no regular file");
    } else if (ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        return fd;
    }
    close(fd);
    return -1;
}

// Moves a window, as it is shown at the size it settles then, so that its
// middle is at a point, within that point's screen.
class MiddleAt : public QObject {
public:
    MiddleAt(QWidget* window, QPoint middle) : QObject(window), m_middle(middle) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QScreen* screen = QGuiApplication::screenAt(m_middle);
        auto* window = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Show || !screen || !window) return false;
        QRect frame(QPoint(), window->frameSize());
        frame.moveCenter(m_middle);
        // At its screen's top left when larger than the screen.
        const QRect room = screen->availableGeometry();
        frame.moveLeft(qBound(room.left(), frame.left(), room.right() + 1 - frame.width()));
        frame.moveTop(qBound(room.top(), frame.top(), room.bottom() + 1 - frame.height()));
        window->move(frame.topLeft());
        return false;
    }

private:
    QPoint m_middle;
};

// The dialog stands over the help window that asked to print: its
// transient window, in the middle of it, where one program's window can
// stand over another's by its id (X11); elsewhere it opens on its own.
void StandOver(QDialog& dialog, const channel::Print& request) {
    if (request.window <= 0 || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    QWindow* helpWindow = QWindow::fromWinId(static_cast<WId>(request.window));
    if (!helpWindow) return;
    dialog.winId();  // its own window, made now
    dialog.windowHandle()->setTransientParent(helpWindow);
    new MiddleAt(&dialog, QPoint(request.middleX, request.middleY));
}

// The dialog's choices; false when the user cancelled.
bool AskUser(const QString& title, const channel::Print& request, PrintSettings& settings,
             QString& pdf) {
    // The file the dialog proposes is the title's name in the current
    // folder when that is below the home folder: make it the home folder
    // itself, never the folder the help file came from.
    QDir::setCurrent(QDir::homePath());
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("Print %1").arg(title));
    StandOver(dialog, request);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        pdf = printer.outputFileName();
        if (!pdf.isEmpty() && QDir::isRelativePath(pdf)) pdf = QDir::home().absoluteFilePath(pdf);
    } else {
        settings.printer = printer.printerName().toUtf8();
    }
    settings.pageSize = printer.pageLayout().pageSize().id();
    settings.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    settings.copies = printer.copyCount();
    settings.collate = printer.collateCopies();
    if (printer.printRange() == QPrinter::PageRange) {
        settings.fromPage = printer.fromPage();
        settings.toPage = printer.toPage();
    }
    settings.grey = printer.colorMode() == QPrinter::GrayScale;
    settings.duplex = printer.duplex();
    return true;
}

// Runs step 2 with the settings, the PDF file's descriptor open in it
// alone; its exit status, and what it said.
int RunConfined(const PrintSettings& settings, QByteArray* said) {
    QProcess confined;
    confined.setProgram(QCoreApplication::applicationFilePath());
    confined.setArguments({QString::fromLatin1(channel::kConfinedPrintArgument)});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // It draws on no screen; the printer's job goes through its spool folder.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                       QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!settings.spool.isEmpty())
        environment.insert(QStringLiteral("TMPDIR"), QFile::decodeName(settings.spool));
    confined.setProcessEnvironment(environment);
    confined.setWorkingDirectory(QDir::rootPath());
    confined.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    const int pdf = settings.pdfDescriptor;
    confined.setChildProcessModifier([pdf] {
        if (pdf >= 0) fcntl(pdf, F_SETFD, 0);  // inherited by step 2 alone
    });
    confined.start();
    if (!confined.waitForStarted()) {
        *said = confined.errorString().toLocal8Bit();
        return 1;
    }
    confined.write(channel::Encode(settings));
    confined.closeWriteChannel();
    const bool finished = confined.waitForFinished(kConfinedDeadlineMs);
    if (!finished) confined.kill();
    *said = confined.readAllStandardError();
    std::fwrite(said->constData(), 1, static_cast<size_t>(said->size()), stderr);
    if (!finished) {
        *said = "the page could not be printed in two minutes";
        return 1;
    }
    return confined.exitStatus() == QProcess::NormalExit ? confined.exitCode() : 1;
}

int PrintToPdf(PrintDocument& document, const PrintSettings& settings, const QPageLayout& layout) {
    QFile output;
    if (!output.open(settings.pdfDescriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        return Fail(QStringLiteral("the PDF file cannot be written: %1").arg(output.errorString()));
    QPdfWriter writer(&output);
    writer.setCreator(kCreator);
    writer.setTitle(QString::fromUtf8(settings.title));
    writer.setPageLayout(layout);
    if (settings.fromPage > 0 && settings.toPage >= settings.fromPage) {
        QPageRanges ranges;
        ranges.addRange(settings.fromPage, settings.toPage);
        writer.setPageRanges(ranges);
    }
    document.print(&writer);
    if (!output.flush() || output.error() != QFileDevice::NoError)
        return Fail(QStringLiteral("the PDF file cannot be written: %1").arg(output.errorString()));
    return 0;
}

int PrintToPrinter(PrintDocument& document, const PrintSettings& settings,
                   const QPageLayout& layout) {
    const QString name = QString::fromUtf8(settings.printer);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printer.setDocName(QString::fromUtf8(settings.title));
    printer.setPageLayout(layout);
    printer.setCopyCount(qBound(1, settings.copies, 99));
    printer.setCollateCopies(settings.collate);
    if (settings.fromPage > 0 && settings.toPage >= settings.fromPage) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(settings.fromPage, settings.toPage);
    }
    printer.setColorMode(settings.grey ? QPrinter::GrayScale : QPrinter::Color);
    printer.setDuplex(static_cast<QPrinter::DuplexMode>(qBound(0, settings.duplex, 3)));
    // A printer Qt does not know turns a QPrinter into a PDF printer with no
    // file: that is no print.
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat ||
        printer.printerName() != name)
        return Fail(QStringLiteral("the printer \"%1\" cannot be used").arg(name));
    document.print(&printer);
    return printer.printerState() == QPrinter::Error ? 1 : 0;
}

}  // namespace

int RunPrintJob(const QStringList& arguments, int& argc, char** argv) {
    QString error;
    const std::optional<ChosenOutput> chosen = ReadOptions(arguments, &error);
    if (!chosen) return Fail(error, 2);
    channel::LineReader input;
    const std::optional<QByteArray> line = channel::ReadLine(STDIN_FILENO, input);
    const std::optional<channel::Print> request =
        line ? channel::Decode<channel::Print>(*line) : std::nullopt;
    if (!request || !IsPage(request->file, request->page))
        return Fail(QStringLiteral("no page of a help file was given"), 2);

    // Never destroyed: the process ends without tearing Qt down (main.cpp).
    new QApplication(argc, argv);
    PrepareApplication();
    const QString title = JobTitle(request->title);
    PrintSettings settings;
    settings.file = request->file;
    settings.page = request->page;
    settings.title = title.toUtf8();
    settings.pageSize = QPageSize::A4;
    QString pdf = chosen->pdf;
    settings.printer = chosen->printer.toUtf8();
    // The choice is the user's, made before anything of the file is read.
    const bool asked = pdf.isEmpty() && chosen->printer.isEmpty();
    if (asked && !AskUser(title, *request, settings, pdf)) return 0;
    const auto failed = [&](const QString& what) {
        Fail(what);
        if (asked) QMessageBox::warning(nullptr, title, what);
        return 1;
    };

    QTemporaryDir spool;
    if (!settings.printer.isEmpty()) {
        if (!spool.isValid()) return failed(QStringLiteral("No spool folder could be made."));
        settings.spool = QFile::encodeName(spool.path());
    } else {
        QString why;
        settings.pdfDescriptor = pdf.isEmpty() ? -1 : OpenPdf(pdf, &why);
        if (settings.pdfDescriptor < 0)
            return failed(QStringLiteral("The PDF file %1 cannot be written: %2.").arg(pdf, why));
    }
    QByteArray said;
    const int status = RunConfined(settings, &said);
    if (settings.pdfDescriptor >= 0) close(settings.pdfDescriptor);
    if (status != 0 && asked)
        QMessageBox::warning(nullptr, title,
                             QStringLiteral("The page could not be printed: %1")
                                 .arg(QString::fromLocal8Bit(said.trimmed())));
    return status;
}

int RunConfinedPrint(const QStringList& arguments, int& argc, char** argv) {
    if (!arguments.isEmpty())
        return Fail(QStringLiteral("the confined step takes no arguments"), 2);
    channel::LineReader input;
    const std::optional<QByteArray> line = channel::ReadLine(STDIN_FILENO, input);
    const std::optional<PrintSettings> settings =
        line ? channel::Decode<PrintSettings>(*line) : std::nullopt;
    if (!settings || !IsPage(settings->file, settings->page))
        return Fail(QStringLiteral("no print settings were given"), 2);
    const bool toPdf = settings->printer.isEmpty();
    if (toPdf) {
        const int flags = fcntl(settings->pdfDescriptor, F_GETFL);
        struct stat info {};
        if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY ||
            fstat(settings->pdfDescriptor, &info) != 0 || !S_ISREG(info.st_mode))
            return Fail(QStringLiteral("no PDF file was handed over"), 2);
        fcntl(settings->pdfDescriptor, F_SETFD, FD_CLOEXEC);
    }

    const std::vector<int> helpFile = viewer::OpenRegularFiles({settings->file.toStdString()});
    if (helpFile.empty())
        return Fail(QStringLiteral("%1 cannot be read").arg(QFile::decodeName(settings->file)));
    viewer::ConfinementRules rules;
    rules.readable = viewer::PlacesQtReads();
    rules.readableFiles = helpFile;
    // A PDF goes to its descriptor; a printer's job to its spool folder and
    // the printing system's local socket.
    if (!toPdf) {
        rules.reach = viewer::ConfinementRules::Reach::Paths;
        if (!settings->spool.isEmpty()) rules.writable.push_back(settings->spool.toStdString());
    }
    const viewer::ConfinementReport confinement = viewer::Confine(rules);
    for (const int fd : helpFile) close(fd);
    if (!confinement.problem.empty())
        std::fprintf(stderr, "mensura-help: confined only in part: %s\n",
                     confinement.problem.c_str());

    // Never destroyed: the process ends without tearing Qt down (main.cpp).
    new QApplication(argc, argv);
    PrepareApplication();
    if (viewer::kAddressSpaceHeadroom > 0) viewer::LimitAddressSpace(viewer::kAddressSpaceHeadroom);
    std::string error;
    const std::unique_ptr<helpfile::ChmFile> help =
        helpfile::ChmFile::Open(settings->file.toStdString(), &error);
    if (!help)
        return Fail(QStringLiteral("%1: %2").arg(QFile::decodeName(settings->file),
                                                 QString::fromStdString(error)));
    const QUrl page = QUrl::fromEncoded(settings->page, QUrl::StrictMode);
    PrintDocument document(help.get(), page, settings->grey);
    const QVariant html =
        LoadHelpResource(help.get(), document.Images(), QTextDocument::HtmlResource, page);
    document.setHtml(QString::fromUtf8(html.toByteArray()));

    const bool known = settings->pageSize >= 0 && settings->pageSize <= QPageSize::LastPageSize;
    const QPageSize size(known ? static_cast<QPageSize::PageSizeId>(settings->pageSize)
                               : QPageSize::A4);
    const QPageLayout layout(size,
                             settings->landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(15, 15, 15, 15));
    return toPdf ? PrintToPdf(document, *settings, layout)
                 : PrintToPrinter(document, *settings, layout);
}

}  // namespace mensura
