// quendra-manual-pdf: the manual's HTML pages as one PDF, chapter after chapter in the
// order of the contents page, rendered by Qt's own text engine so that the build needs
// no browser and no network.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>

namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString bodyOf(const QString& html) {
    const qsizetype open = html.indexOf("<body>");
    const qsizetype close = html.lastIndexOf("</body>");
    if (open < 0 || close < open) return html;
    return html.mid(open + 6, close - open - 6);
}

// Within one document a link to another page becomes a link to its anchor, and the
// way back to the contents goes. Pictures get whole paths: printing works on a copy of
// the document that knows no base address.
QString joined(const QString& body, const QDir& folder) {
    QString text = body;
    text.replace(QRegularExpression(R"re(src="([^":]+)")re"), "src=\"" + QUrl::fromLocalFile(folder.absolutePath()).toString() + "/\\1\"");
    text.remove(QRegularExpression(R"(<p><a href="index\.html">Sommario</a></p>)"));
    text.replace(QRegularExpression(R"(href="[^"#]+\.html#)"), R"(href="#)");
    text.replace(QRegularExpression(R"(href="([^"#]+)\.html")"), R"(href="#\1")");
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: quendra-manual-pdf CARTELLA-MANUALE FILE.pdf\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString contents = readText(folder.filePath("index.html"));
    if (contents.isEmpty()) {
        std::fprintf(stderr, "quendra-manual-pdf: manca %s\n", qPrintable(folder.filePath("index.html")));
        return 1;
    }
    QString html = "<html><head><meta charset=\"utf-8\"></head><body>" + bodyOf(contents);
    QRegularExpression chapterLink(R"(<li><a href="([^"#]+)\.html">)");
    for (auto it = chapterLink.globalMatch(contents); it.hasNext();) {
        const QString name = it.next().captured(1);
        const QString page = readText(folder.filePath(name + ".html"));
        if (page.isEmpty()) {
            std::fprintf(stderr, "quendra-manual-pdf: manca %s.html\n", qPrintable(name));
            return 1;
        }
        html += "<a name=\"" + name + "\"></a>" +
                joined(bodyOf(page), folder).replace("<h1>", "<h1 style=\"page-break-before: always\">");
    }
    html += "</body></html>";

    QTextDocument document;
    document.setDefaultFont(QFont("DejaVu Sans", 10));
    document.setHtml(html);
    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle("Manuale di Quendra parrochiale");
    pdf.setCreator("Quendra");
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20)));
    document.print(&pdf);
    return 0;
}
