#include "ui/control_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace ui {
namespace {

class Style final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element != CE_ShapedFrame || widget == nullptr || !widget->hasFocus() ||
            qobject_cast<const QAbstractItemView*>(widget) == nullptr) {
            return;
        }
        painter->save();
        painter->setPen(QPen(option->palette.color(QPalette::Active, QPalette::Highlight), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

}  // namespace

QStyle* ControlStyle() {
    static QStyle* style = [] {
        auto* s = new Style;
        s->setParent(qApp);
        return s;
    }();
    return style;
}

}  // namespace ui
