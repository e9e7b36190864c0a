#include "uAbout.h"

#include "Shell.h"
#include "uConstants.h"
#include "uPictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于Brimwell2003"));
    setFixedSize(420, 210);
    auto *picture = new QLabel(this);
    picture->setPixmap(Pictures::about());
    picture->setGeometry(16, 16, 120, 150);
    const auto line = [this](const QString &text, int y) {
        auto *l = new QLabel(text, this);
        l->setGeometry(156, y, 250, 24);
        return l;
    };
    line(QStringLiteral("系统版本：") + QString::fromLatin1(Maker::ProductName), 30);
    line(QStringLiteral("系统设计：") + QString::fromUtf8(Maker::Name), 62);
    line(QStringLiteral("公司主页："), 94);
    m_web = new QLabel(this);
    m_web->setObjectName(QStringLiteral("lbWeb"));
    const QString site = QString::fromLatin1(Maker::WebSite);
    m_web->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(site));
    m_web->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    m_web->setGeometry(156, 120, 250, 24);
    // The address goes to the desktop through the shell seam, as every other open does.
    connect(m_web, &QLabel::linkActivated, this, [](const QString &link) { Shell::open(link); });
    m_ok = new QPushButton(QStringLiteral("确定"), this);
    m_ok->resize(80, 28);
    m_ok->move((width() - m_ok->width()) / 2, 170);  // centred, rounded toward zero
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}
