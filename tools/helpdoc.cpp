// Renders a help document of Skelvor: an HTML source in the subset that Qt's rich-text engine reads becomes an A4 PDF
// with a footer on every page. The source refers to the picture of the window as "window.png" and may name the
// maker's address and the version as {{maker-host}}, {{maker-url}} and {{version}}; the look of every document comes
// from the one style sheet below, so the sources hold words only.
//
// The text is laid out on pages measured in pixels of 1/96 inch, the unit that HTML lengths and picture sizes use,
// and each page is then drawn onto the PDF page scaled to the writer's resolution; the fonts are vector outlines, so
// nothing is lost by the scaling.
#include "maker.h"
#include "offscreen.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

#include <cstdio>

namespace {

constexpr qreal kLayoutDpi = 96;
constexpr int kDotsPerMeterAt96Dpi = 3780;
// Room under the text of each page for the footer, in layout pixels.
constexpr qreal kFooterHeight = 30;
const QMarginsF kPageMargins(20, 17, 20, 12);  // millimetres

// Qt reads margins and paddings in pixels only; font sizes may be given in points.
constexpr char kStyleSheet[] = R"(
body { font-family: 'DejaVu Sans', Arial, Helvetica, sans-serif; font-size: 10pt; color: #1e1e1e; }
h1 { font-size: 24pt; font-weight: bold; color: #1b4a8a; margin-top: 0; margin-bottom: 2px; }
h2 { font-size: 14pt; font-weight: bold; color: #1b4a8a; margin-top: 22px; margin-bottom: 8px; }
h3 { font-size: 11pt; font-weight: bold; color: #2a2a2a; margin-top: 14px; margin-bottom: 6px; }
p { margin-top: 0; margin-bottom: 8px; line-height: 125%; }
li { margin-bottom: 4px; line-height: 125%; }
ul, ol { margin-top: 0; margin-bottom: 8px; }
code, .key { font-family: 'DejaVu Sans Mono', Consolas, 'Courier New', monospace; font-size: 9pt; }
.subtitle { font-size: 13pt; color: #555555; margin-bottom: 18px; }
.version { font-size: 10pt; }
.nowrap { white-space: nowrap; }
.picture { margin-top: 4px; margin-bottom: 4px; }
.caption { font-size: 9pt; color: #555555; margin-bottom: 10px; }
table { border-collapse: collapse; margin-top: 2px; margin-bottom: 12px; }
th { background-color: #dde7f4; font-weight: bold; text-align: left; }
td, th { border-width: 1px; border-style: solid; border-color: #9aa7b8; padding: 4px; }
)";

void fail(const QString& message) { std::fprintf(stderr, "helpdoc: %s\n", qPrintable(message)); }

// Replaces the placeholders of the source; any other {{...}} left in the text is a mistake in the source.
bool fillPlaceholders(QString& html) {
  html.replace(QStringLiteral("{{maker-host}}"), QString::fromLatin1(skelvor::kMakerHost));
  html.replace(QStringLiteral("{{maker-url}}"), QString::fromLatin1(skelvor::kMakerUrl));
  html.replace(QStringLiteral("{{version}}"), QStringLiteral(SKELVOR_VERSION));
  const QRegularExpressionMatch unknown = QRegularExpression(QStringLiteral(R"(\{\{[^}]*\}\})")).match(html);
  if (unknown.hasMatch()) {
    fail(QStringLiteral("unknown placeholder %1").arg(unknown.captured()));
    return false;
  }
  return true;
}

// A thin rule, the document's title on the left and "page / pages" on the right, in the band under the text of a
// page. `band` is in the writer's own pixels, so the font is sized in points for the writer.
void drawFooter(QPainter& painter, const QRectF& band, const QString& title, int page, int pages) {
  painter.setPen(QPen(QColor(0x9a, 0xa7, 0xb8), band.height() / 40));
  painter.drawLine(band.topLeft(), band.topRight());
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(8);
  painter.setFont(font);
  painter.setPen(QColor(0x55, 0x55, 0x55));
  const QRectF line = band.adjusted(0, band.height() / 5, 0, 0);
  painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, title);
  painter.drawText(line, Qt::AlignRight | Qt::AlignTop, QStringLiteral("%1 / %2").arg(page).arg(pages));
}

// The page on which the first line of `block` ends.
int pageOfFirstLine(const QTextDocument& document, const QTextBlock& block, qreal pageHeight) {
  const QRectF box = document.documentLayout()->blockBoundingRect(block);
  const QTextLine line = block.layout()->lineAt(0);
  const qreal bottom = box.top() + (line.isValid() ? line.rect().bottom() : box.height());
  return static_cast<int>(bottom / pageHeight);
}

// A heading keeps company with what follows it: when the first line after a heading falls on a later page, the heading
// moves to the top of that page. Moving one heading shifts everything after it, so the headings are checked again
// from the start after each move; a heading moves at most once, so this ends.
void keepHeadingsWithText(QTextDocument& document, qreal pageHeight) {
  bool moved = true;
  while (moved) {
    moved = false;
    // The layout catches up with a change lazily; asking for the size of the whole document completes it.
    static_cast<void>(document.size());
    for (QTextBlock block = document.begin(); block.isValid() && !moved; block = block.next()) {
      QTextBlockFormat format = block.blockFormat();
      const QTextBlock next = block.next();
      if (format.headingLevel() == 0 || !next.isValid() || format.pageBreakPolicy() != QTextFormat::PageBreak_Auto)
        continue;
      if (pageOfFirstLine(document, block, pageHeight) == pageOfFirstLine(document, next, pageHeight)) continue;
      format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      QTextCursor(block).setBlockFormat(format);
      moved = true;
    }
  }
}

bool render(const QString& html, const QImage& picture, const QString& output) {
  QPdfWriter writer(output);
  writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kPageMargins, QPageLayout::Millimeter));
  writer.setCreator(QStringLiteral("Skelvor " SKELVOR_VERSION));

  // Fonts are measured on a device of exactly 96 dots per inch, whatever the screen of the machine that builds.
  QImage metrics(1, 1, QImage::Format_RGB32);
  metrics.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  metrics.setDotsPerMeterY(kDotsPerMeterAt96Dpi);

  QTextDocument document;
  document.documentLayout()->setPaintDevice(&metrics);
  document.setUseDesignMetrics(true);
  document.setDocumentMargin(0);
  document.setDefaultStyleSheet(QString::fromLatin1(kStyleSheet));
  document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("window.png")), picture);
  document.setHtml(html);
  // Any letter spacing turns ligatures off, so that "fi" stays two letters for whoever searches or copies the text;
  // a thousandth of the width cannot be seen.
  QTextCursor everything(&document);
  everything.select(QTextCursor::Document);
  QTextCharFormat spacing;
  spacing.setFontLetterSpacingType(QFont::PercentageSpacing);
  spacing.setFontLetterSpacing(100.1);
  everything.mergeCharFormat(spacing);
  const QString title = document.metaInformation(QTextDocument::DocumentTitle);
  writer.setTitle(title);

  const qreal scale = writer.resolution() / kLayoutDpi;
  const QSizeF body(writer.width() / scale, writer.height() / scale - kFooterHeight);
  document.setPageSize(body);
  keepHeadingsWithText(document, body.height());
  const int pages = document.pageCount();

  QPainter painter(&writer);
  if (!painter.isActive()) {
    fail(QStringLiteral("cannot write %1").arg(output));
    return false;
  }
  const QRectF band(0, (body.height() + kFooterHeight / 2) * scale, body.width() * scale, kFooterHeight / 2 * scale);
  for (int page = 0; page < pages; ++page) {
    if (page > 0) writer.newPage();
    painter.save();
    painter.scale(scale, scale);
    painter.translate(0, -page * body.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(QPointF(0, page * body.height()), body);
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    drawFooter(painter, band, title, page + 1, pages);
  }
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: helpdoc <source.html> <window picture.png> <output.pdf>\n");
    return 2;
  }
  skelvor::useOffscreenPlatform();
  QGuiApplication app(argc, argv);
  const QString source = QString::fromLocal8Bit(argv[1]);
  const QString pictureFile = QString::fromLocal8Bit(argv[2]);
  const QString output = QString::fromLocal8Bit(argv[3]);

  QFile file(source);
  if (!file.open(QIODevice::ReadOnly)) {
    fail(QStringLiteral("cannot read %1: %2").arg(source, file.errorString()));
    return 1;
  }
  QString html = QString::fromUtf8(file.readAll());
  if (!fillPlaceholders(html)) return 1;

  // The page is white, so the picture needs no transparency; an opaque picture also prints without a mask.
  const QImage picture = QImage(pictureFile).convertToFormat(QImage::Format_RGB32);
  if (picture.isNull()) {
    fail(QStringLiteral("cannot read the picture %1").arg(pictureFile));
    return 1;
  }
  if (!render(html, picture, output)) {
    QFile::remove(output);
    return 1;
  }
  return 0;
}
