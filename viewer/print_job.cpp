#include "print_job.h"

#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>
#include <memory>
#include <string>

#include "application.h"
#include "chm_file.h"
#include "confinement.h"
#include "help_browser.h"
#include "help_page.h"

namespace mensura {

namespace {

// The settings step 1 hands to step 2: the dialog's choices as options.
struct PrintSettings {
    QString pdf;      // the PDF file, made already; empty for a printer
    QString printer;  // the printer's name
    QString spool;    // the folder the printer's job is written to first
    int pageSize = QPageSize::A4;
    bool landscape = false;
    int copies = 1;
    bool collate = true;
    int fromPage = 0;  // 0, 0: every page
    int toPage = 0;
    bool grey = false;
    int duplex = QPrinter::DuplexNone;
    QString title;

    QStringList Arguments() const {
        QStringList a{
            QStringLiteral("--page-size"), QString::number(pageSize), QStringLiteral("--copies"),
            QString::number(copies),       QStringLiteral("--from"),  QString::number(fromPage),
            QStringLiteral("--to"),        QString::number(toPage),   QStringLiteral("--duplex"),
            QString::number(duplex),       QStringLiteral("--title"), title};
        if (!pdf.isEmpty()) a << QStringLiteral("--pdf") << pdf;
        if (!printer.isEmpty()) a << QStringLiteral("--printer") << printer;
        if (!spool.isEmpty()) a << QStringLiteral("--spool") << spool;
        if (landscape) a << QStringLiteral("--landscape");
        if (!collate) a << QStringLiteral("--no-collate");
        if (grey) a << QStringLiteral("--grey");
        return a;
    }

    static PrintSettings From(const QStringList& a) {
        PrintSettings s;
        const auto value = [&a](const char* name) {
            const qsizetype at = a.indexOf(QLatin1String(name));
            return at >= 0 ? a.value(at + 1) : QString();
        };
        const auto number = [&value](const char* name, int otherwise) {
            bool ok = false;
            const int n = value(name).toInt(&ok);
            return ok ? n : otherwise;
        };
        s.pdf = value("--pdf");
        s.printer = value("--printer");
        s.spool = value("--spool");
        s.pageSize = number("--page-size", QPageSize::A4);
        s.landscape = a.contains(QStringLiteral("--landscape"));
        s.copies = qBound(1, number("--copies", 1), 99);
        s.collate = !a.contains(QStringLiteral("--no-collate"));
        s.fromPage = std::max(0, number("--from", 0));
        s.toPage = std::max(0, number("--to", 0));
        s.grey = a.contains(QStringLiteral("--grey"));
        s.duplex = number("--duplex", QPrinter::DuplexNone);
        s.title = value("--title");
        return s;
    }
};

// A document title fit for a print job and a file name: one line, bounded.
QString JobTitle(const QString& title) {
    QString clean;
    for (const QChar c : title.simplified())
        if (c.isPrint()) clean += c;
    clean = clean.left(80).trimmed();
    return clean.isEmpty() ? QStringLiteral("Mensura Help") : clean;
}

void Fail(const QString& what) {
    std::fprintf(stderr, "mensura-help: printing: %s\n", qPrintable(what));
}

// The page laid out for print, its pictures and styles from the file.
class PrintDocument : public QTextDocument {
public:
    PrintDocument(const helpfile::ChmFile* file, const QUrl& page)
        : m_file(file), m_images(ObjectReader(&m_file)) {
        setBaseUrl(page);
        setDefaultStyleSheet(HelpStyleSheet(100));
    }
    PageImages& Images() { return m_images; }

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        return LoadHelpResource(m_file, m_images, type, baseUrl().resolved(name));
    }

private:
    const helpfile::ChmFile* m_file;
    PageImages m_images;
};

}  // namespace

int RunPrintJob(const QStringList& arguments, int& argc, char** argv) {
    const QString file = arguments.value(0);
    const QString page = arguments.value(1);
    const PrintSettings given = PrintSettings::From(arguments.mid(2));
    const QString title = JobTitle(given.title);
    if (file.isEmpty() || !QUrl(page).isValid() || QUrl(page).scheme() != kHelpScheme) {
        Fail(QStringLiteral("no help file or page given"));
        return 2;
    }

    // Never destroyed: the process ends without tearing Qt down (main.cpp).
    new QApplication(argc, argv);
    PrepareApplication();
    PrintSettings settings;
    settings.title = title;
    QString pdf = given.pdf;
    if (pdf.isEmpty()) {
        // The choice is the user's, made before anything of the file is read.
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(title);
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(QStringLiteral("Print %1").arg(title));
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        if (dialog.exec() != QDialog::Accepted) return 0;
        if (printer.outputFormat() == QPrinter::PdfFormat) pdf = printer.outputFileName();
        if (pdf.isEmpty()) settings.printer = printer.printerName();
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
    }

    // What the confined step may write: the PDF file, made here, or a
    // spool folder of its own.
    QTemporaryDir spool;
    if (!pdf.isEmpty()) {
        QFile made(pdf);
        if (!made.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            Fail(QStringLiteral("%1 cannot be written").arg(pdf));
            return 1;
        }
        settings.pdf = QFileInfo(made).absoluteFilePath();
    } else {
        if (!spool.isValid()) {
            Fail(QStringLiteral("no spool folder"));
            return 1;
        }
        settings.spool = spool.path();
    }

    QProcess confined;
    confined.setProgram(QCoreApplication::applicationFilePath());
    confined.setArguments(QStringList{QStringLiteral("--print-confined"), file, page} +
                          settings.Arguments());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // It draws on no screen; the printer's job goes through its spool folder.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                       QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!settings.spool.isEmpty()) environment.insert(QStringLiteral("TMPDIR"), settings.spool);
    confined.setProcessEnvironment(environment);
    confined.setProcessChannelMode(QProcess::ForwardedChannels);
    confined.start();
    if (!confined.waitForFinished(120000)) {
        confined.kill();
        Fail(QStringLiteral("the page could not be printed in two minutes"));
        return 1;
    }
    return confined.exitStatus() == QProcess::NormalExit ? confined.exitCode() : 1;
}

int RunConfinedPrint(const QStringList& arguments, int& argc, char** argv) {
    const QString file = arguments.value(0);
    const QUrl page(arguments.value(1));
    const PrintSettings settings = PrintSettings::From(arguments.mid(2));

    const std::vector<int> helpFile =
        viewer::OpenRegularFiles({QFile::encodeName(file).toStdString()});
    if (helpFile.empty()) {
        Fail(QStringLiteral("%1 cannot be read").arg(file));
        return 1;
    }
    viewer::ConfinementRules rules;
    rules.readable = viewer::PlacesQtReads();
    rules.readableFiles = helpFile;
    for (const QString& place : {settings.spool, settings.pdf})
        if (!place.isEmpty()) rules.writable.push_back(QFile::encodeName(place).toStdString());
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
        helpfile::ChmFile::Open(QFile::encodeName(file).toStdString(), &error);
    if (!help) {
        Fail(QStringLiteral("%1: %2").arg(file, QString::fromStdString(error)));
        return 1;
    }
    PrintDocument document(help.get(), page);
    const QVariant html =
        LoadHelpResource(help.get(), document.Images(), QTextDocument::HtmlResource, page);
    document.setHtml(QString::fromUtf8(html.toByteArray()));

    const QPageLayout::Orientation orientation =
        settings.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPageSize size(static_cast<QPageSize::PageSizeId>(settings.pageSize));
    QPrinter printer(QPrinter::HighResolution);
    if (settings.pdf.isEmpty()) {
        printer.setPrinterName(settings.printer);
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(settings.pdf);
        printer.setCreator(QStringLiteral("Mensura Help"));
    }
    printer.setDocName(settings.title);
    printer.setPageLayout(QPageLayout(size, orientation, QMarginsF(15, 15, 15, 15)));
    printer.setCopyCount(settings.copies);
    printer.setCollateCopies(settings.collate);
    if (settings.fromPage > 0 && settings.toPage >= settings.fromPage) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(settings.fromPage, settings.toPage);
    }
    printer.setColorMode(settings.grey ? QPrinter::GrayScale : QPrinter::Color);
    printer.setDuplex(static_cast<QPrinter::DuplexMode>(settings.duplex));
    if (!printer.isValid()) {
        Fail(QStringLiteral("the printer \"%1\" cannot be used").arg(settings.printer));
        return 1;
    }
    document.print(&printer);
    return printer.printerState() == QPrinter::Error ? 1 : 0;
}

}  // namespace mensura
