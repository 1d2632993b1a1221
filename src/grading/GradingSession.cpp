#include "grading/GradingSession.h"

#include "core/Workspace.h"
#include "grading/ScanFiles.h"
#include "grading/SheetReader.h"
#include "storage/AtomicFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <functional>

using namespace Qt::StringLiterals;

GradingSession::GradingSession(Workspace &ws, QObject *parent)
    : QObject(parent), m_ws(ws), m_test(ws.test), m_grader(m_test)
{}

GradingSession::~GradingSession()
{
    stopWorker();
}

void GradingSession::stopWorker()
{
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
    m_stop = false;
}

void GradingSession::chooseScan()
{
    if (busy() || !m_ws.prompts)
        return;
    FileDialogRequest request;
    request.title = u"Skany kart odpowiedzi"_s;
    request.filter = u"Skany (*.pdf *.jpg *.jpeg *.png *.tif *.tiff);;Wszystkie pliki (*)"_s;
    const QStringList paths = m_ws.prompts->openFileNames(request);
    if (!paths.isEmpty())
        addScans(paths);
}

bool GradingSession::addScans(const QStringList &paths)
{
    if (busy() || paths.isEmpty())
        return false;
    if (m_worker.joinable())
        m_worker.join();
    m_done = false;
    m_worker = std::thread([this, paths] {
        SheetReader reader;
        for (const QString &path : paths) {
            if (m_stop)
                break;
            const QString name = QFileInfo(path).fileName();
            QString why;
            const bool read = ScanFiles::read(
                path,
                [&](int page, const QImage &image, const QString &problem) {
                    SheetReading reading;
                    if (!image.isNull())
                        reading = reader.read(image);
                    QMetaObject::invokeMethod(
                        this, [this, name, page, reading, problem] { take(name, page, reading, problem); },
                        Qt::QueuedConnection);
                    return !m_stop.load();
                },
                &why);
            QMetaObject::invokeMethod(
                this,
                [this, read, why, path, name] {
                    if (!read)
                        m_messages.append(name + u": "_s + why + u'.');
                    m_ws.logEvent(4, u"Odczytano skany kart odpowiedzi z pliku %1."_s.arg(path));
                    emit changed();
                },
                Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_done = true;
                emit finished();
            },
            Qt::QueuedConnection);
    });
    return true;
}

void GradingSession::wait()
{
    if (m_worker.joinable())
        m_worker.join();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void GradingSession::take(const QString &name, int page, const SheetReading &reading, const QString &problem)
{
    ++m_pagesRead;
    if (!problem.isEmpty()) {
        m_messages.append(u"%1, page %2: %3."_s.arg(name).arg(page).arg(problem));
    } else {
        QString message;
        const PaperGrader::Outcome outcome = m_grader.addReading(reading, name, page, &message);
        if (outcome != PaperGrader::Outcome::Sheet && outcome != PaperGrader::Outcome::Skipped)
            m_messages.append(message);
    }
    emit progress(m_pagesRead);
    emit changed();
}

void GradingSession::settle(int sheet, int question, const QString &letters)
{
    m_grader.settle(sheet, question, letters);
    emit changed();
}

bool GradingSession::writeCsv(const QString &path, QString *why) const
{
    return AtomicFile::write(path, m_grader.csv(), why);
}

bool GradingSession::writeTablePdf(const QString &path, QString *why) const
{
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                                         QPageLayout::Millimeter));
        writer.setTitle(m_test.header.testName);
        QPainter p;
        if (!p.begin(&writer)) {
            if (why)
                *why = u"the PDF could not be made"_s;
            return false;
        }
        const qreal width = writer.pageLayout().paintRect(QPageLayout::Point).width();
        const qreal height = writer.pageLayout().paintRect(QPageLayout::Point).height();
        QFont font(u"DejaVu Sans"_s);
        font.setPointSizeF(10);
        QFont bold = font;
        bold.setBold(true);
        const QList<qreal> columns{0, 0.42, 0.52, 0.62, 0.72, 0.82}; // shares of the width
        const QStringList heads{u"Uczeń"_s, u"Klasa"_s, u"Wersja"_s, u"Punkty"_s, u"Procent"_s, u"Ocena"_s};
        qreal y = 0;
        const qreal row = 18;
        const auto header = [&] {
            p.setFont(bold);
            p.drawText(QRectF(0, y, width, 22), Qt::AlignLeft | Qt::AlignVCenter,
                       m_test.header.testName + u" – wyniki ("_s + QDate::currentDate().toString(u"dd.MM.yyyy"_s) +
                           u')');
            y += 30;
            for (int c = 0; c < heads.size(); ++c)
                p.drawText(QRectF(columns[c] * width, y, width * 0.18, row), Qt::AlignLeft | Qt::AlignVCenter, heads[c]);
            y += row;
            p.drawLine(QPointF(0, y), QPointF(width, y));
            y += 4;
            p.setFont(font);
        };
        header();
        for (const GradedSheet &s : m_grader.sheets()) {
            if (y + row > height) {
                writer.newPage();
                y = 0;
                header();
            }
            const SheetCode &c = s.reading.code;
            const QStringList cells{c.pupilName().isEmpty() ? u"(karta bez nazwiska)"_s : c.pupilName(), c.className,
                                    QString(QChar(u'A' + c.version)),
                                    u"%1 / %2"_s.arg(s.points).arg(s.maximum) + (s.needsReview() ? u" ?"_s : QString()),
                                    u"%1%"_s.arg(s.percent), s.grade};
            for (int i = 0; i < cells.size(); ++i) {
                const qreal w = (i + 1 < columns.size() ? columns[i + 1] : 1.0) * width - columns[i] * width - 4;
                p.drawText(QRectF(columns[i] * width, y, w, row), Qt::AlignLeft | Qt::AlignVCenter,
                           QFontMetricsF(p.font()).elidedText(cells[i], Qt::ElideRight, w));
            }
            y += row;
        }
        if (!p.end()) {
            if (why)
                *why = u"the PDF could not be made"_s;
            return false;
        }
    }
    return AtomicFile::write(path, pdf, why);
}

namespace {

// Asks for a file name and writes to it; a failure is logged and said.
void askAndWrite(Workspace &ws, const FileDialogRequest &request, const QString &failure,
                 const std::function<bool(const QString &path, QString *why)> &write)
{
    if (!ws.prompts)
        return;
    const QString path = ws.prompts->saveFileName(request);
    if (path.isEmpty())
        return;
    QString why;
    if (!write(path, &why)) {
        ws.logEvent(0, u"Sprawdzanie kart. Błąd zapisu pliku %1: "_s.arg(path) + why);
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, failure + QFileInfo(path).fileName() + u'.');
        return;
    }
    ws.logEvent(4, u"Sprawdzanie kart. Zapisano plik %1."_s.arg(path));
}

} // namespace

void GradingSession::saveResults()
{
    askAndWrite(m_ws, {u"Zapisz wyniki"_s, u"Arkusz CSV (*.csv)"_s, u"csv"_s, {}, u"wyniki.csv"_s},
                u"Nie udało się zapisać wyników do pliku\r"_s,
                [this](const QString &path, QString *why) { return writeCsv(path, why); });
}

void GradingSession::printResults()
{
    askAndWrite(m_ws,
                {u"Drukuj tabelę wyników do pliku PDF"_s, u"Dokument PDF (*.pdf)"_s, u"pdf"_s, {}, u"wyniki.pdf"_s},
                u"Nie udało się wydrukować tabeli do pliku\r"_s,
                [this](const QString &path, QString *why) { return writeTablePdf(path, why); });
}
