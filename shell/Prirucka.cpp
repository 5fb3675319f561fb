#include "Prirucka.h"

#include "Jazyk.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

const QRegularExpression& znackaOkna() {
    static const QRegularExpression Vzor(QStringLiteral("^<!--\\s*okno:\\s*(\\w+)\\s*-->\\s*$"));
    return Vzor;
}

// The headings of the Markdown in order, skipping fenced code.
QStringList nadpisy(const QString& Markdown, QMap<QString, QString>* Okna = nullptr) {
    QStringList Nadpisy;
    bool Kod = false;
    QString Okno;
    for (const QString& Radek : Markdown.split(QLatin1Char('\n'))) {
        if (Radek.startsWith(QLatin1String("```"))) Kod = !Kod;
        if (Kod) continue;
        if (const auto Shoda = znackaOkna().match(Radek); Shoda.hasMatch()) {
            Okno = Shoda.captured(1);
            continue;
        }
        if (Radek.startsWith(QLatin1Char('#'))) {
            const QString Nadpis = Radek.section(QLatin1Char(' '), 1).trimmed();
            Nadpisy << Nadpis;
            if (Okna && !Okno.isEmpty()) Okna->insert(Okno, KotvaNadpisu(Nadpis));
            Okno.clear();
        }
    }
    return Nadpisy;
}

QPointer<TPrirucka>& otevrena() {
    static QPointer<TPrirucka> Okno;
    return Okno;
}

class TKlavesaF1 : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* Objekt, QEvent* Udalost) override {
        if (Udalost->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(Udalost)->key() != Qt::Key_F1 || !Objekt->isWidgetType())
            return false;
        QWidget* Okno = static_cast<QWidget*>(Objekt)->window();
        if (qobject_cast<TPrirucka*>(Okno)) return false;
        OtevriPrirucku(Okno);
        return true;
    }
};

} // namespace

QString TextPrirucky(const QString& KodJazyka) {
    QFile Soubor(QStringLiteral(":/prirucka/guide.%1.md").arg(KodJazyka));
    if (!Soubor.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(Soubor.readAll());
}

QString KotvaNadpisu(const QString& Nadpis) {
    QString Kotva;
    for (const QChar Znak : Nadpis.toLower()) {
        if (Znak.isLetterOrNumber() || Znak == QLatin1Char('-') || Znak == QLatin1Char('_'))
            Kotva += Znak;
        else if (Znak == QLatin1Char(' '))
            Kotva += QLatin1Char('-');
    }
    return Kotva;
}

QMap<QString, QString> OddilyOken(const QString& Markdown) {
    QMap<QString, QString> Okna;
    nadpisy(Markdown, &Okna);
    return Okna;
}

TPrirucka::TPrirucka(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormPrirucka"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Příručka KM-207"));
    resize(720, 600);
    Text = new QTextBrowser(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setOpenLinks(false);
    connect(Text, &QTextBrowser::anchorClicked, this, &TPrirucka::OtevriOdkaz);
    auto* Rozlozeni = new QVBoxLayout(this);
    Rozlozeni->setContentsMargins(0, 0, 0, 0);
    Rozlozeni->addWidget(Text);

    const QString Markdown = TextPrirucky(KodJazyka(Jazyk_));
    Nadpisy_ = nadpisy(Markdown, &OddilyOken_);
    // Pictures are found beside the guide.
    Text->document()->setBaseUrl(QUrl(QStringLiteral("qrc:/prirucka/")));
    Text->document()->setMarkdown(Markdown);
}

bool TPrirucka::UkazOddil(const QString& Kotva) {
    int Poradi = -1;
    for (int i = 0; i < Nadpisy_.size() && Poradi < 0; ++i)
        if (KotvaNadpisu(Nadpisy_[i]) == Kotva) Poradi = i;
    if (Poradi < 0) return false;
    for (QTextBlock Blok = Text->document()->begin(); Blok.isValid(); Blok = Blok.next()) {
        if (Blok.blockFormat().headingLevel() == 0 || Poradi-- > 0) continue;
        Text->document()->adjustSize();
        const QRectF Kde = Text->document()->documentLayout()->blockBoundingRect(Blok);
        Text->verticalScrollBar()->setValue(static_cast<int>(Kde.top()));
        return true;
    }
    return false;
}

QString TPrirucka::ViditelnyOddil() const {
    const int Nahore = Text->verticalScrollBar()->value();
    QString Kotva;
    for (QTextBlock Blok = Text->document()->begin(); Blok.isValid(); Blok = Blok.next()) {
        if (Blok.blockFormat().headingLevel() == 0) continue;
        if (Text->document()->documentLayout()->blockBoundingRect(Blok).top() > Nahore + 1) break;
        Kotva = KotvaNadpisu(Blok.text());
    }
    return Kotva;
}

void TPrirucka::OtevriOdkaz(const QUrl& Odkaz) {
    if (Odkaz.isRelative() && Odkaz.path().isEmpty() && Odkaz.hasFragment())
        UkazOddil(Odkaz.fragment());
}

void OtevriPrirucku(QWidget* Okno) {
    const QString Trida = Okno ? QString::fromLatin1(Okno->metaObject()->className()) : QString();
    // Over a modal dialog, a window of another parent would not take input.
    QWidget* Rodic = Okno && QApplication::activeModalWidget() == Okno ? Okno : nullptr;
    QPointer<TPrirucka>& Otevrena = otevrena();
    if (Otevrena && (Otevrena->parentWidget() != Rodic || Otevrena->Jazyk_ != AktualniJazyk())) {
        // Closing deletes it, later: it must not be found meanwhile.
        Otevrena->hide();
        Otevrena->deleteLater();
        Otevrena = nullptr;
    }
    if (!Otevrena) Otevrena = new TPrirucka(Rodic);
    Otevrena->show();
    Otevrena->raise();
    Otevrena->activateWindow();
    const QString Kotva = Otevrena->OddilyOken_.value(Trida);
    if (Kotva.isEmpty() || !Otevrena->UkazOddil(Kotva))
        Otevrena->Text->verticalScrollBar()->setValue(0);
}

void NainstalujF1(QApplication& Aplikace) {
    Aplikace.installEventFilter(new TKlavesaF1(&Aplikace));
}
