#include "print/cardprinter.h"

#include "core/disk/safefilewrite.h"
#include "print/pagerenderer.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace print {

namespace {

const QString kFallbackPdfName = QStringLiteral("بطاقة تحصيل الأعداد");

QPrinterInfo targetPrinter()
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull())
        return defaultPrinter;
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    return printers.isEmpty() ? QPrinterInfo() : printers.first();
}

} // namespace

bool hasPrinter()
{
    return !targetPrinter().isNull();
}

QString targetPrinterName()
{
    return targetPrinter().printerName();
}

std::unique_ptr<QPrinter> cardPrinter(const QString& printerName)
{
    const QPrinterInfo info =
        printerName.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(printerName);
    std::unique_ptr<QPrinter> printer;
    if (info.isNull()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setResolution(kPdfResolution);
    } else {
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    printer->setCreator(QStringLiteral("saisie-notes"));
    printer->setFullPage(false);
    return printer;
}

PrintOutcome printCard(const PrintedSheet& sheet, const PageHeader& codes, const QString& jobName)
{
    const QPrinterInfo target = targetPrinter();
    if (target.isNull())
        return {false, 0, QString(), QStringLiteral("Le système n'a pas d'imprimante")};
    const std::unique_ptr<QPrinter> printer = cardPrinter(target.printerName());
    printer->setDocName(jobName);
    const RenderResult rendered = renderCard(sheet, codes, *printer);
    if (!rendered.ok)
        return {false, rendered.pageCount, target.printerName(), rendered.error};
    if (printer->printerState() == QPrinter::Error || printer->printerState() == QPrinter::Aborted)
        return {
            false, rendered.pageCount, target.printerName(),
            QStringLiteral("L'imprimante %1 n'a pas pris le travail").arg(target.printerName())};
    return {true, rendered.pageCount, target.printerName(), QString()};
}

PdfOutcome writePdf(const QString& path, const QString& title, const PageRendering& render)
{
    QByteArray bytes;
    RenderResult rendered;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("saisie-notes"));
        writer.setTitle(title);
        rendered = render(writer);
    }
    if (!rendered.ok)
        return {false, 0,
                gradefile::makeFileError(gradefile::FileErrorKind::Other, rendered.error)};
    const gradefile::SafeWriteResult written = gradefile::replaceFileSafely(path, bytes);
    if (!written.ok)
        return {false, 0, written.error};
    return {true, rendered.pageCount, {}};
}

PdfOutcome writeCardPdf(const PrintedSheet& sheet, const PageHeader& codes, const QString& path,
                        const QString& title)
{
    return writePdf(path, title,
                    [&](QPagedPaintDevice& device) { return renderCard(sheet, codes, device); });
}

QString suggestedPdfFileName(const QString& description)
{
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QString name = description;
    name.replace(refused, QStringLiteral(" "));
    name = name.replace(blanks, QStringLiteral(" ")).trimmed();
    // A name that is all dots would name a folder.
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    name = name.trimmed();
    if (name.isEmpty())
        name = kFallbackPdfName;
    return name + QStringLiteral(".pdf");
}

} // namespace print
