// A label that reports a click: a press and a release of the left button, both inside it. It
// keeps the look of a plain label; a screen reader knows it as a link, which it can follow.
#pragma once

#include <QLabel>

namespace zanvo {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const QString &text, QWidget *parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace zanvo
