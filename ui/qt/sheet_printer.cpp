#include "ui/qt/sheet_printer.h"

#include "ui/qt/form1_widget.h"
#include "ui/sheet_layout.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvel {

namespace {

// One font per style, measured on the printer itself.
class SheetFonts {
public:
    explicit SheetFonts(QPrinter &printer)
    {
        for (SheetStyle style : kSheetStyles) {
            QFont font = FontFor(FontFace::Song, SheetPoints(style), SheetBold(style), false);
            // Qt's PDF writer keeps the text of shaped runs of Latin letters
            // but not of the digits among them; unshaped text keeps both.
            font.setStyleStrategy(QFont::PreferNoShaping);
            // The headings in the face's own bold, where it has one.
            font.setStyleName(QString());
            fonts_[Index(style)] = font;
            metrics_[Index(style)] = QFontMetricsF(font, &printer);
        }
    }
    const QFont &font(SheetStyle style) const { return fonts_[Index(style)]; }
    const QFontMetricsF &metrics(SheetStyle style) const { return *metrics_[Index(style)]; }

private:
    static std::size_t Index(SheetStyle style) { return static_cast<std::size_t>(style); }
    std::array<QFont, kSheetStyles.size()> fonts_;
    std::array<std::optional<QFontMetricsF>, kSheetStyles.size()> metrics_;
};

// The ideographs that the font draws with the same glyphs as the CJK
// radicals supplement's characters, which have no decomposition: the font
// itself says which ideograph a radical's glyph is (页 for ⻚).
class RadicalIdeographs {
public:
    explicit RadicalIdeographs(const QFont &font)
        : font_(QRawFont::fromFont(font))
    {
    }
    char16_t operator()(char16_t radical)
    {
        if (ideographs_.empty()) {
            QString all;
            for (char16_t c = 0x4E00; c <= 0x9FFF; ++c)
                all += QChar(c);
            ideographs_ = font_.glyphIndexesForString(all);
        }
        const QList<quint32> glyph = font_.glyphIndexesForString(QString(QChar(radical)));
        if (glyph.isEmpty() || glyph[0] == 0)
            return radical;
        const qsizetype at = ideographs_.indexOf(glyph[0]);
        return at < 0 ? radical : char16_t(0x4E00 + at);
    }

private:
    QRawFont font_;
    QList<quint32> ideographs_;
};

// The character a glyph shows, for one that Qt's PDF writer named by another
// code point of the font that draws the same glyph: it takes the lowest, so
// that 一, 二, 力, 日, 月, 比, 水, 页 and others come back as the Kangxi
// radicals ⼀, ⼆, ⼒, ⽇, ⽉, ⽐, ⽔ or the radicals supplement's ⻚, and the
// space as a tab.
char16_t Shown(char16_t code, RadicalIdeographs &radicals)
{
    if (code >= 0x2F00 && code <= 0x2FDF) {
        const QString ideograph = QString(QChar(code)).normalized(QString::NormalizationForm_KC);
        return ideograph.size() == 1 ? ideograph[0].unicode() : code;
    }
    if (code >= 0x2E80 && code <= 0x2EFF)
        return radicals(code);
    return code >= 0x09 && code <= 0x0D ? u' ' : code;
}

// Rewrites the characters the PDF file's ToUnicode tables give its glyphs,
// in place: every code keeps its length, so no offset in the file moves.
// Only the tables' target codes change: those in brackets, the last of a
// "bfrange" line and the second of a "bfchar" line.
void MendPdfText(const QString &path, const QFont &font)
{
    RadicalIdeographs radicals(font);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return;
    QByteArray pdf = file.readAll();
    bool changed = false;
    const auto mend = [&](qsizetype at) { // at a "<XXXX>"
        bool ok = false;
        const uint code = pdf.mid(at + 1, 4).toUInt(&ok, 16);
        if (!ok || code > 0xFFFF)
            return;
        const char16_t shown = Shown(char16_t(code), radicals);
        if (shown != code) {
            pdf.replace(
                at + 1, 4, QByteArray::number(uint(shown), 16).toUpper().rightJustified(4, '0'));
            changed = true;
        }
    };
    for (qsizetype table = pdf.indexOf("begincmap"); table >= 0;
         table = pdf.indexOf("begincmap", table + 1)) {
        const qsizetype end = pdf.indexOf("endcmap", table);
        if (end < 0)
            break;
        enum { Other, Range, Char } section = Other;
        for (qsizetype line = table; line < end;) {
            qsizetype next = pdf.indexOf('\n', line);
            next = next < 0 || next > end ? end : next;
            const QByteArray text = pdf.mid(line, next - line);
            if (text.endsWith("beginbfrange"))
                section = Range;
            else if (text.endsWith("beginbfchar"))
                section = Char;
            else if (text.startsWith("end"))
                section = Other;
            else if (section != Other) {
                std::vector<qsizetype> codes;
                bool inBrackets = false;
                for (qsizetype i = 0; i + 5 < text.size(); ++i) {
                    inBrackets = inBrackets || text[i] == '[';
                    if (text[i] == '<' && text[i + 5] == '>') {
                        if (inBrackets)
                            mend(line + i);
                        codes.push_back(line + i);
                    }
                }
                if (!inBrackets && codes.size() == (section == Range ? 3u : 2u))
                    mend(codes.back());
            }
            line = next + 1;
        }
    }
    if (changed && file.seek(0))
        file.write(pdf);
}

// The sheets drawn with QPainter on the printer, its origin at the area
// inside the margins.
class PrinterCanvas final : public SheetCanvas {
public:
    PrinterCanvas(QPrinter &printer, QPainter &painter, const SheetFonts &fonts)
        : printer_(printer)
        , painter_(painter)
        , fonts_(fonts)
        , perMm_(printer.resolution() / 25.4)
    {
    }
    double TextWidth(SheetStyle style, std::string_view text) override
    {
        return fonts_.metrics(style).horizontalAdvance(ToQString(text)) / perMm_;
    }
    SheetFontMetrics Metrics(SheetStyle style) override
    {
        const QFontMetricsF &m = fonts_.metrics(style);
        return { m.ascent() / perMm_, m.height() / perMm_ };
    }
    bool BeginPage() override
    {
        // The printer has begun the first page itself.
        if (started_ && !printer_.newPage())
            return false;
        started_ = true;
        painter_.setPen(QPen(Qt::black, 0.25 * perMm_));
        return true;
    }
    void DrawRule(const PlacedRule &r) override
    {
        painter_.drawLine(QPointF(r.x1, r.y1) * perMm_, QPointF(r.x2, r.y2) * perMm_);
    }
    void DrawText(SheetStyle style, double x, double baseline, std::string_view text) override
    {
        painter_.setFont(fonts_.font(style));
        painter_.drawText(QPointF(x, baseline) * perMm_, ToQString(text));
    }
    bool EndPage() override { return true; }

private:
    QPrinter &printer_;
    QPainter &painter_;
    const SheetFonts &fonts_;
    double perMm_;
    bool started_ = false;
};

} // namespace

void SetUpForPrint(QPrinter &printer, std::string_view title)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kSheetMarginMm, kSheetMarginMm, kSheetMarginMm, kSheetMarginMm),
        QPageLayout::Millimeter));
    printer.setDocName(ToQString(title));
}

bool PrintSheets(QPrinter &printer, std::span<const Sheet> sheets)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const SheetFonts fonts(printer);
    PrinterCanvas canvas(printer, painter, fonts);
    const bool drawn = DrawSheets(sheets, canvas);
    const bool toPdfFile = painter.paintEngine()->type() == QPaintEngine::Pdf
        && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    if (!painter.end() || !drawn || printer.printerState() == QPrinter::Error)
        return false;
    if (toPdfFile)
        MendPdfText(printer.outputFileName(), fonts.font(SheetStyle::Body));
    return true;
}

} // namespace quorvel
