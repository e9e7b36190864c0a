#include "uPictures.h"

#include "uConstants.h"

#include <QFile>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

// The command pictures are resources of this static library: register them explicitly.
static void initIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(done);
}

namespace Pictures {

namespace {

void drawHouse(QPainter &p, const QRectF &r, const QColor &colour)
{
    // A small house: the agency's mark.
    QPainterPath roof;
    roof.moveTo(r.left(), r.top() + r.height() * 0.45);
    roof.lineTo(r.center().x(), r.top());
    roof.lineTo(r.right(), r.top() + r.height() * 0.45);
    roof.closeSubpath();
    p.fillPath(roof, colour);
    const QRectF body(r.left() + r.width() * 0.15, r.top() + r.height() * 0.42, r.width() * 0.7, r.height() * 0.58);
    p.fillRect(body, colour.lighter(130));
    p.fillRect(QRectF(body.center().x() - body.width() * 0.12, body.top() + body.height() * 0.35, body.width() * 0.24,
                      body.height() * 0.65),
               colour.darker(150));
}

}  // namespace

QPixmap splash()
{
    QPixmap pm(413, 251);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 413, 251);
    g.setColorAt(0, QColor(0x1f, 0x5f, 0x9f));
    g.setColorAt(1, QColor(0x6f, 0xb3, 0xe0));
    p.fillRect(pm.rect(), g);
    drawHouse(p, QRectF(30, 40, 90, 90), QColor(0xff, 0xd0, 0x60));
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(140, 50, 260, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("家政服务管理系统"));
    f.setPixelSize(18);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(140, 95, 260, 30), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(Maker::ProductName));
    f.setPixelSize(13);
    p.setFont(f);
    p.drawText(QRect(20, 200, 373, 24), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("正在启动，请稍候……"));
    p.setPen(QColor(255, 255, 255, 160));
    p.drawText(QRect(20, 222, 373, 20), Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(Maker::Name));
    return pm;
}

QPixmap about()
{
    QPixmap pm(120, 150);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 150);
    g.setColorAt(0, QColor(0x2a, 0x6f, 0xb0));
    g.setColorAt(1, QColor(0x9c, 0xcb, 0xef));
    p.fillRect(pm.rect(), g);
    drawHouse(p, QRectF(20, 25, 80, 80), QColor(0xff, 0xd0, 0x60));
    return pm;
}

QPixmap banner(int width)
{
    QPixmap pm(qMax(1, width), 41);
    QPainter p(&pm);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, QColor(0xdd, 0xea, 0xf7));
    g.setColorAt(1, QColor(0xf7, 0xfa, 0xfd));
    p.fillRect(pm.rect(), g);
    p.setPen(QColor(0xb8, 0xcc, 0xe4));
    p.drawLine(0, 40, width, 40);
    return pm;
}

QString commandIconResource(const QString &command)
{
    // Chosen by what each command does; the theme's own names, most from the freedesktop naming rules.
    static const QHash<QString, QString> names = {
        {QStringLiteral("Act_Password"), QStringLiteral("dialog-password")},
        {QStringLiteral("Act_UserManage"), QStringLiteral("system-users")},
        {QStringLiteral("Act_Backup"), QStringLiteral("preferences-system-backup")},
        {QStringLiteral("Act_Restore"), QStringLiteral("system-software-install")},
        {QStringLiteral("Act_SysLog"), QStringLiteral("utilities-log-viewer")},
        {QStringLiteral("Act_UserRegist"), QStringLiteral("dialog-information")},
        {QStringLiteral("Act_Quit"), QStringLiteral("application-exit")},
        {QStringLiteral("Act_Department"), QStringLiteral("preferences-devices-tree")},
        {QStringLiteral("Act_Gongzhong"), QStringLiteral("applications-utilities")},
        {QStringLiteral("Act_Tijian"), QStringLiteral("preferences-smart-status")},
        {QStringLiteral("Act_Shusong"), QStringLiteral("network-workgroup")},
        {QStringLiteral("Act_Yuangong"), QStringLiteral("folder-image-people")},
        {QStringLiteral("Act_Operaters"), QStringLiteral("preferences-desktop-user")},
        {QStringLiteral("Act_CurrencyRate"), QStringLiteral("homebank")},
        {QStringLiteral("Act_FinanceOrgan"), QStringLiteral("institution")},
        {QStringLiteral("Act_Vocation"), QStringLiteral("financial-categories")},
        {QStringLiteral("Act_OperateStyle"), QStringLiteral("tag")},
        {QStringLiteral("Act_OperateOrigin"), QStringLiteral("folder-download")},
        {QStringLiteral("Act_CustLevel"), QStringLiteral("folder-favorites")},
        {QStringLiteral("Act_CustState"), QStringLiteral("dialog-positive")},
        {QStringLiteral("Act_Customers"), QStringLiteral("office-address-book")},
        {QStringLiteral("Act_Linkman"), QStringLiteral("x-office-contact")},
        {QStringLiteral("Act_OperatesInfo"), QStringLiteral("x-office-document")},
        {QStringLiteral("Act_Plan"), QStringLiteral("office-calendar")},
        {QStringLiteral("Act_Gathering"), QStringLiteral("financial-account")},
        {QStringLiteral("Act_Payment"), QStringLiteral("financial-list")},
        {QStringLiteral("Act_TimeAnalyse"), QStringLiteral("financial-investments")},
        {QStringLiteral("Act_CustLevelAnalyse"), QStringLiteral("office-chart-pie")},
        {QStringLiteral("Act_CustOriginAnalyse"), QStringLiteral("application-vnd.oasis.opendocument.chart")},
        {QStringLiteral("Act_OperateOriginAnalyse"), QStringLiteral("folder-chart")},
        {QStringLiteral("Act_OperateStyleAnalyse"), QStringLiteral("x-office-presentation")},
        {QStringLiteral("Act_OperateSortAnalyse"), QStringLiteral("x-office-spreadsheet")},
        {QStringLiteral("Act_CustomerSortAnalyse"), QStringLiteral("kchart")},
        {QStringLiteral("Act_Board"), QStringLiteral("preferences-desktop-notification-bell")},
        {QStringLiteral("Act_Mail"), QStringLiteral("internet-mail")},
        {QStringLiteral("Tool_Calculator"), QStringLiteral("accessories-calculator")},
        {QStringLiteral("Tool_Calendar"), QStringLiteral("office-calendar")},
        {QStringLiteral("Tool_SysInfo"), QStringLiteral("utilities-system-monitor")},
        {QStringLiteral("Help_About"), QStringLiteral("help-about")},
        {QStringLiteral("Help_Help"), QStringLiteral("help-browser")},
        {QStringLiteral("Help_Site"), QStringLiteral("internet-web-browser")},
        {QStringLiteral("Top_Navigation"), QStringLiteral("preferences-desktop-navigation")},
        {QStringLiteral("Top_Tools"), QStringLiteral("system-file-manager")},
        {QStringLiteral("Top_Site"), QStringLiteral("internet-web-browser")},
        {QStringLiteral("Top_Help"), QStringLiteral("help-browser")},
        {QStringLiteral("Top_Quit"), QStringLiteral("application-exit")},
        {QStringLiteral("File_New"), QStringLiteral("document-new")},
        {QStringLiteral("File_Cut"), QStringLiteral("edit-cut")},
        {QStringLiteral("File_Copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("Files_Root"), QStringLiteral("go-home")},
        {QStringLiteral("Files_Up"), QStringLiteral("go-up")},
        {QStringLiteral("Files_Refresh"), QStringLiteral("view-refresh")},
        {QStringLiteral("Act_Envelop"), QStringLiteral("mail-message")},
    };
    const QString name = names.value(command);
    return name.isEmpty() ? QString() : QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
}

QIcon commandIcon(const QString &command)
{
    const QString resource = commandIconResource(command);
    if (resource.isEmpty())
        return {};
    return themeIcon(resource.mid(QStringLiteral(":/icons/").size()).chopped(4));  // without ".svg"
}

QIcon themeIcon(const QString &name)
{
    initIconResources();
    const QString resource = QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
    if (name.isEmpty() || !QFile::exists(resource))
        return {};
    // Drawn here at the sizes the bars and menus use, so no image plug-in is needed at run time.
    QSvgRenderer svg(resource);
    QIcon icon;
    if (svg.isValid()) {
        for (int size : {16, 22, 24, 32, 48, 64}) {
            QPixmap pm(size, size);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            svg.render(&p);
            p.end();
            icon.addPixmap(pm);
        }
    }
    return icon;
}

}  // namespace Pictures
