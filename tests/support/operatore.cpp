#include "support/operatore.h"

#include "services/modprincipale.h"
#include "support/databasediprova.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

void preparaComponente(const DatabaseDiProva &db, const QString &cartellaStampe, const QString &ini)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    qputenv("RISCUTI_ARCHIVIO_STAMPE", cartellaStampe.toUtf8());
    qputenv("RISCUTI_STAMPA", "nessuna");
    modPrincipale::setPercorsoDatabase(db.testoConnessione());
    modPrincipale::setPercorsoFileIni(ini.isEmpty() ? DatabaseDiProva::cartellaSorgenti() +
                                                          QStringLiteral("/db/riscuti-demo.ini")
                                                    : ini);
}

bool Operatore::attiva() const
{
    m_finestra->raise();
    m_finestra->activateWindow();
    return QTest::qWaitForWindowActive(m_finestra, 3000);
}

void Operatore::digita(const QString &campo, const QString &testo) const
{
    auto *editor = controllo<QLineEdit>(campo);
    clic(editor);
    if (!QTest::qWaitFor([editor] { return editor->hasFocus(); }, 3000))
        QTest::qFail(qPrintable(campo + QStringLiteral(" does not take the focus")), __FILE__,
                     __LINE__);
    editor->selectAll();
    QTest::keyClicks(editor, testo);
}

void Operatore::compila(const QString &campo, const QString &testo) const
{
    digita(campo, testo);
    QTest::keyClick(controllo<QLineEdit>(campo), Qt::Key_Tab);
}

void Operatore::premi(const QString &pulsante) const
{
    clic(controllo<QPushButton>(pulsante));
}

QString Operatore::mostrato(const QString &nome) const
{
    auto *widget = controllo<QWidget>(nome);
    if (!widget->isEnabled())
        return QStringLiteral("disabilitato");
    if (auto *casella = qobject_cast<QCheckBox *>(widget))
        return casella->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (auto *lista = qobject_cast<QComboBox *>(widget))
        return lista->currentIndex() < 0 ? QStringLiteral("-") : lista->currentText();
    if (auto *campo = qobject_cast<QLineEdit *>(widget))
        return campo->inputMask().isEmpty() ? campo->text() : campo->displayText();
    if (auto *etichetta = qobject_cast<QLabel *>(widget))
        return etichetta->text();
    return QStringLiteral("?");
}
