// The user's guide in the program: the Markdown of the chosen language shown
// by Qt's own renderer, opened at the section of the window F1 was pressed
// in. A section belongs to a window through a comment before its heading,
// "<!-- okno: TForm6 -->", which other Markdown readers do not show.
#pragma once

#include "Jazyk.h"

#include <QDialog>
#include <QMap>
#include <QString>
#include <QStringList>

class QApplication;
class QTextBrowser;
class QUrl;

// The guide's Markdown in a language ("cs", "en") as the program carries it.
QString TextPrirucky(const QString& KodJazyka);
// GitHub's anchor of a heading: lower case, punctuation dropped, blanks as
// hyphens; the guide's links between sections use it.
QString KotvaNadpisu(const QString& Nadpis);
// The windows the guide has a section for, by class name, and that
// section's anchor.
QMap<QString, QString> OddilyOken(const QString& Markdown);

class TPrirucka : public QDialog {
    Q_OBJECT
  public:
    explicit TPrirucka(QWidget* parent = nullptr);
    // Scrolls to the section with this anchor; false when there is none.
    bool UkazOddil(const QString& Kotva);
    // The anchor of the section at the top of the view.
    QString ViditelnyOddil() const;

    QTextBrowser* Text = nullptr;

  private:
    void OtevriOdkaz(const QUrl& Odkaz);
    TJazyk Jazyk_ = AktualniJazyk();
    QStringList Nadpisy_;
    QMap<QString, QString> OddilyOken_;
    friend void OtevriPrirucku(QWidget* Okno);
};

// Opens the guide at the section of the window (the start for none or one
// without a section). Over a modal dialog the guide opens as its child, so
// that it can be used while the dialog waits.
void OtevriPrirucku(QWidget* Okno);
// F1 in any window of the program opens the guide at that window's section.
void NainstalujF1(QApplication& Aplikace);
