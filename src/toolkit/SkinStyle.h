#pragma once

#include <QProxyStyle>

// The program's own touch on the platform style: check boxes drawn as the program's mark, a white
// tick on an amber tile, and radio marks as an amber dot, so that options read the same on every skin. Set it on a widget with
// setStyle(SkinStyle::instance()); the rest is the platform style.
class SkinStyle : public QProxyStyle {
    Q_OBJECT

public:
    // One for the whole program, owned by the application.
    static SkinStyle *instance();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;

private:
    SkinStyle();
    void drawRadio(const QStyleOption *option, QPainter *painter) const;
};
