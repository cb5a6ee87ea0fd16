// Writes images as a C++ source of ARGB32 pixel arrays for icon_pixels.h.
// Usage: mensura_icon_pixels OUTPUT.cpp IMAGE...
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp IMAGE...\n", argv[0]);
        return 2;
    }
    QString text;
    QTextStream out(&text);
    out << "// Made by mensura_icon_pixels from the window icon's images.\n"
           "#include \"icon_pixels.h\"\n\nnamespace mensura {\nnamespace {\n";
    QStringList entries;
    for (int i = 2; i < argc; ++i) {
        const QImage image =
            QImage(QString::fromLocal8Bit(argv[i])).convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) {
            std::fprintf(stderr, "mensura_icon_pixels: cannot read %s\n", argv[i]);
            return 1;
        }
        out << "const std::uint32_t kImage" << i << "[] = {";
        int column = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, ++column)
                out << (column % 8 == 0 ? "\n    " : " ") << "0x"
                    << QStringLiteral("%1").arg(line[x], 8, 16, QLatin1Char('0')) << "u,";
        }
        out << "\n};\n";
        entries
            << QStringLiteral("{%1, %2, kImage%3}").arg(image.width()).arg(image.height()).arg(i);
    }
    out << "}  // namespace\n\nconst IconImage kIconImages[] = {" << entries.join(", ")
        << "};\nconst int kIconImageCount = " << entries.size() << ";\n\n}  // namespace mensura\n";
    out.flush();
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "mensura_icon_pixels: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
