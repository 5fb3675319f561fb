// Checks on what a window shows, shared by the window tests.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include <string>

namespace testsupport {

// Empty when the label shows its whole text inside its window, else what is
// wrong. Qt's own size hints say what the text needs: its one-line width, or
// at a word-wrapped label's width, its height.
inline std::string shows_whole(const QLabel* label) {
    if (!label) return "no label";
    const std::string text = label->text().toStdString();
    if (label->wordWrap()) {
        const int need = label->heightForWidth(label->width());
        if (label->height() < need)
            return "wrapped \"" + text + "\" needs " + std::to_string(need) +
                   " px of height, has " + std::to_string(label->height());
    } else {
        QLabel one_line(label->text());
        one_line.setFont(label->font());
        one_line.setFrameStyle(label->frameStyle());
        one_line.setLineWidth(label->lineWidth());
        one_line.setMargin(label->margin());
        one_line.setIndent(label->indent());
        const int need = one_line.sizeHint().width();
        if (label->width() < need)
            return "\"" + text + "\" needs " + std::to_string(need) + " px, has " +
                   std::to_string(label->width());
    }
    const QWidget* window = label->window();
    const QRect in_window(label->mapTo(window, QPoint(0, 0)), label->size());
    if (!window->rect().contains(in_window)) return "\"" + text + "\" lies outside its window";
    return {};
}

} // namespace testsupport
