// The code-table editors (a coloured one, the country with its continent, the currency
// with its rate) and the colour palette.
#include "Shots.h"

#include "CodeTables.h"
#include "uColor.h"
#include "uMain.h"
#include "uPublic.h"
#include "udmMain.h"

#include <QPointer>

namespace {

QPointer<QWidget> shown;

Shot editorShot(const QString &name, const QString &window)
{
    return {name, [window](TfrmMain &main) -> QWidget * {
                const CodeTable *table = codeTable(window);
                OpenDatasets({(dmMain->*(table->source))->dataset(), dmMain->tblColor});
                auto *editor = new CodeTableEditor(*table, false, &main);
                editor->setAttribute(Qt::WA_DeleteOnClose);
                editor->show();
                shown = editor;
                return editor;
            },
            [] {
                if (shown)
                    shown->close();
            }};
}

}  // namespace

void addRefdataShots(QList<Shot> &shots)
{
    shots.append(editorShot(QStringLiteral("refdata-level"), QStringLiteral("TfrmCustLevel")));
    shots.append(editorShot(QStringLiteral("refdata-country"), QStringLiteral("TfrmCountry")));
    shots.append(editorShot(QStringLiteral("refdata-currency"), QStringLiteral("TfrmCurrencyRate")));
    shots.append(editorShot(QStringLiteral("refdata-department"), QStringLiteral("TfrmDepartment")));
    shots.append({QStringLiteral("refdata-palette"),
                  [](TfrmMain &main) -> QWidget * {
                      OpenDatasets({dmMain->tblColor});
                      auto *palette = new TfrmColor(&main);
                      palette->setAttribute(Qt::WA_DeleteOnClose);
                      dmMain->tblColor->setCurrentRow(12);
                      palette->show();
                      shown = palette;
                      return palette;
                  },
                  [] {
                      if (shown)
                          shown->close();
                  }});
}
