#include "print/PrintEngine.h"

#include "base/Ui.h"
#include "data/Database.h"
#include "data/Settings.h"
#include "print/PrintItem.h"
#include "print/PrintText.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace {

const QString kDefaultFace = QStringLiteral("宋体");
// The window-text colour, the spaced mode's default.
const QString kWindowText = QStringLiteral("-2147483640");
const QString kPrompt = QStringLiteral("提示");

} // namespace

PrintEngine::PrintEngine(Database &db, Ui &ui, Settings &settings,
                         std::unique_ptr<PrintDevice> device)
    : m_db(db)
    , m_ui(ui)
    , m_settings(settings)
    , m_device(std::move(device))
{}

PrintEngine::~PrintEngine() = default;

void PrintEngine::setDevice(std::unique_ptr<PrintDevice> device)
{
    m_device = std::move(device);
    m_selectedPrinter.clear();
    refreshPrinters();
}

const QStringList &PrintEngine::printers()
{
    if (!m_printersListed)
        refreshPrinters();
    return m_printers;
}

void PrintEngine::refreshPrinters()
{
    m_printers = m_device->printers();
    m_printersListed = true;
}

void PrintEngine::setDefaultPrinter(const QString &name)
{
    QString wanted = name.trimmed();
    if (wanted.isEmpty())
        wanted = m_settings.getConfigByname(QStringLiteral("DefaultPrinter")).trimmed();
    if (wanted.isEmpty() && printers().size() > 1)
        return; // the system's default printer stays
    for (const QString &printer : printers()) {
        if (printer.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (m_device->selectPrinter(printer))
            m_selectedPrinter = printer;
        return;
    }
}

bool PrintEngine::popPrinterSetup() const
{
    return m_dialogsAllowed && m_settings.isConfigOn(QStringLiteral("打印前弹出打印机设置"));
}

bool PrintEngine::PrinterConfigClick()
{
    if (printers().isEmpty()) {
        m_ui.error(QStringLiteral("没有检测到任何打印机驱动，无法设置,如果是新添加的打印机，"
                                  "请重新打开软件！"));
        return false;
    }
    switch (m_device->setupDialog()) {
    case PrintDevice::SetupResult::Accepted:
        m_context.printReady = true;
        break;
    case PrintDevice::SetupResult::Cancelled:
        m_context.printReady = false;
        break;
    case PrintDevice::SetupResult::Failed:
        m_context.printReady = false;
        m_ui.alert(QStringLiteral("打开打印机设置对话框出错，请确认打印机是否可用！"), kPrompt);
        break;
    }
    return m_context.printReady;
}

bool PrintEngine::printCheckItem(int checkTypeId, int xMove, int yMove, const QString &ctlName,
                                 const QString &value, const QString &separator)
{
    const QString text = PrintText::trimValue(value);
    if (text.isEmpty())
        return true;

    const PrintItem *found = nullptr;
    if (!findItem(checkTypeId, ctlName, &found))
        return itemFailed(ctlName);
    if (!found)
        return true; // no place on this template: not printed
    const PrintItem &item = *found;
    // Checked before drawing, so a bad pitch never leaves half an item on the paper.
    int pitch = 0;
    if (!item.fitParam.isEmpty() && !item.pitch(&pitch))
        return itemFailed(ctlName);

    int x = item.x + xMove;
    const int y = item.y + yMove;
    const QStringList lines = item.lines(text, separator);

    bool drawn = true;
    if (lines.size() == 1) {
        if (text == m_context.moneyCode)
            x -= moneyCodeShift();
        drawn = drawLine(item, x, y, lines.front(), item.fontSizeFor(1));
    } else {
        for (qsizetype i = 0; i < lines.size() && drawn; ++i)
            drawn = drawLine(item, x, y + int(i) * item.lineHeight, lines[i],
                             item.fontSizeFor(lines.size()));
    }
    if (!drawn)
        m_deviceFailed = true; // the job tells the user once, as a printer error
    return drawn;
}

void PrintEngine::forgetTemplateItems()
{
    m_itemsTemplate = 0;
    m_items.clear();
}

std::optional<QHash<QString, PrintItem>> PrintEngine::readTemplateItems(int checkTypeId) const
{
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("select * from CKControl where CheckTypeID = :typeid"));
    q.bindValue(QStringLiteral(":typeid"), checkTypeId);
    if (!q.exec())
        return std::nullopt;
    QHash<QString, PrintItem> items;
    while (q.next())
        items.insert(q.value(QStringLiteral("CtlName")).toString().toUpper(), PrintItem::read(q));
    return items;
}

void PrintEngine::useTemplateItems(int checkTypeId, const QHash<QString, PrintItem> &items)
{
    m_items = items;
    m_itemsTemplate = checkTypeId;
}

bool PrintEngine::findItem(int checkTypeId, const QString &ctlName, const PrintItem **item)
{
    // Outside a job every item is read fresh; inside one the job's items print.
    if (!m_context.printReady || checkTypeId != m_itemsTemplate) {
        forgetTemplateItems();
        std::optional<QHash<QString, PrintItem>> items = readTemplateItems(checkTypeId);
        if (!items)
            return false;
        useTemplateItems(checkTypeId, *items);
    }
    const auto it = m_items.constFind(ctlName.toUpper());
    *item = it == m_items.constEnd() ? nullptr : &*it;
    return true;
}

int PrintEngine::moneyCodeShift() const
{
    const QString &code = m_context.moneyCode;
    if (std::any_of(code.begin(), code.end(), [](QChar c) { return c.unicode() >= 0x80; }))
        return 10;
    if (code.size() >= 2 && m_context.cellWidth > 0)
        return int(code.size() - 2) * m_context.cellWidth - 4;
    return 0;
}

bool PrintEngine::drawLine(const PrintItem &item, int x, int y, const QString &line, int size)
{
    if (item.fitParam.isEmpty())
        return printTextAt(x, y, line, item.face, item.colour, size, item.bold, item.italic,
                           item.underline);
    return printSpacedText(x, y, line, item.face, item.colour, size, item.bold, item.italic,
                           item.underline, item.fitParam);
}

bool PrintEngine::itemFailed(const QString &ctlName)
{
    m_ui.error(u"打印" + ctlName + u"出现错误！", QStringLiteral("错误"));
    return false;
}

bool PrintEngine::printTextAt(int x, int y, const QString &text, const QString &face,
                              const QString &colour, int size, bool bold, bool italic,
                              bool underline)
{
    if (PrintText::trimValue(text).isEmpty())
        return true;
    m_device->selectFont({face.isEmpty() ? kDefaultFace : face, size, bold, italic, underline,
                          PrintText::itemColour(colour.isEmpty() ? QStringLiteral("0") : colour)});
    const int dx = calibratedX(PrintText::deviceCoordinate(x, m_device->resolutionX()) +
                               2 * m_device->averageCharWidth() - m_device->physicalLeftOffset());
    const int dy =
        std::max(-3, calibratedY(PrintText::deviceCoordinate(y, m_device->resolutionY()) -
                                 m_device->physicalTopOffset()));
    return m_device->drawText(dx, dy, text);
}

bool PrintEngine::printSpacedText(int x, int y, const QString &text, const QString &face,
                                  const QString &colour, int size, bool bold, bool italic,
                                  bool underline, const QString &fitParam)
{
    if (fitParam.isEmpty())
        return printTextAt(x, y, text, face, colour, size, bold, italic, underline);
    if (PrintText::trimValue(text).isEmpty())
        return true;
    bool isNumber = false;
    const int pitch = fitParam.trimmed().toInt(&isNumber);
    if (!isNumber)
        return false;
    m_device->selectFont({face.isEmpty() ? kDefaultFace : face, size, bold, italic, underline,
                          PrintText::itemColour(colour.isEmpty() ? kWindowText : colour)});
    const int resolution = m_device->resolutionX();
    const int margin = 2 * m_device->averageCharWidth() - m_device->physicalLeftOffset();
    const int dy = calibratedY(PrintText::deviceCoordinate(y, m_device->resolutionY()) -
                               m_device->physicalTopOffset());
    const QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        const int dx =
            calibratedX(PrintText::deviceCoordinate(x + int(i) * pitch, resolution) + margin);
        if (!m_device->drawText(dx, dy, QString::fromUcs4(&c, 1)))
            return false;
    }
    return true;
}

bool PrintEngine::printCross(int x, int y, const QString &number)
{
    const int cx = calibratedX(PrintText::deviceCoordinate(x, m_device->resolutionX()) -
                               m_device->physicalLeftOffset());
    const int cy = calibratedY(PrintText::deviceCoordinate(y, m_device->resolutionY()) -
                               m_device->physicalTopOffset());
    const int armX = PrintText::deviceCoordinate(50, m_device->resolutionX());
    const int armY = PrintText::deviceCoordinate(50, m_device->resolutionY());
    const bool drawn = m_device->drawLine(cx - armX, cy, cx + armX, cy) &&
                       m_device->drawLine(cx, cy - armY, cx, cy + armY) &&
                       printTextAt(x + 20, y + 20, number, kDefaultFace, QStringLiteral("0"), 10,
                                   true, false, false);
    if (!drawn)
        m_deviceFailed = true;
    return drawn;
}

namespace {

// Where to send a device position so the printer puts it where it was meant to be: the
// position counted from the paper's edge in millimetres, corrected, and back.
int corrected(int devicePx, int originPx, int dpi, double (PrintCalibration::*send)(double) const,
              const PrintCalibration &calibration)
{
    const double mmPerPx = 25.4 / dpi;
    const double wanted = (devicePx + originPx) * mmPerPx;
    return int(std::lround((calibration.*send)(wanted) / mmPerPx)) - originPx;
}

} // namespace

int PrintEngine::calibratedX(int deviceX)
{
    if (m_calibration.isIdentity())
        return deviceX; // exactly as an uncalibrated printer always printed
    return corrected(deviceX, m_device->physicalLeftOffset(), m_device->resolutionX(),
                     &PrintCalibration::sendX, m_calibration);
}

int PrintEngine::calibratedY(int deviceY)
{
    if (m_calibration.isIdentity())
        return deviceY;
    return corrected(deviceY, m_device->physicalTopOffset(), m_device->resolutionY(),
                     &PrintCalibration::sendY, m_calibration);
}

QString PrintEngine::getHXPaperIn(int checkTypeId) const
{
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("select HVPrint from ckTypeTable where CheckTypeID = :id"));
    q.bindValue(QStringLiteral(":id"), checkTypeId);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return {};
}

int PrintEngine::getCellsWidth(int checkTypeId, const QString &first, int defaultWidth,
                               const QString &second) const
{
    QSqlQuery q = m_db.query();
    q.prepare(QStringLiteral("select CtlX from CKControl where CheckTypeID = :id and "
                             "(upper(CtlName) = upper(:first) or upper(CtlName) = "
                             "upper(:second))"));
    q.bindValue(QStringLiteral(":id"), checkTypeId);
    q.bindValue(QStringLiteral(":first"), first);
    q.bindValue(QStringLiteral(":second"), second);
    if (!q.exec())
        return 0;
    QList<int> xs;
    while (xs.size() < 2 && q.next())
        xs << q.value(0).toInt();
    return xs.size() >= 2 ? std::abs(xs[0] - xs[1]) : defaultWidth;
}
