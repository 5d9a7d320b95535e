#include "KALVDesignButton.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <cmath>

namespace {

// Scheme colours as the platform stores them, 0xBBGGRR; -1 keeps the colour as it is.
const int kSchemes[25][12] = {
#include "KALVDesignButtonSchemes.inc"
};

QColor fromBgr(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

// The table's rows are in the order of the colour indexes.
} // namespace

TKALVDesignButton::TKALVDesignButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, true);
    resize(75, 25);
    SetColorScheme(csVelDesert);
    m_colors[OverSet + Grad] = QColor(0xFF, 0xFF, 0xFF);
    m_colors[DownSet + Grad] = QColor(0xFF, 0xFF, 0xFF);
    m_colors[DisabledSet + Grad] = QColor(0xFF, 0xFF, 0xFF);
}

void TKALVDesignButton::SetColor(int index, const QColor &color)
{
    m_colors[index] = color;
    m_scheme = csCustom;
    update();
}

void TKALVDesignButton::SetColorScheme(TColorScheme scheme)
{
    m_scheme = scheme;
    if (scheme != csCustom) {
        for (int i = 0; i < ColorCount; ++i)
            if (kSchemes[i][scheme] >= 0)
                m_colors[i] = fromBgr(kSchemes[i][scheme]);
        m_gradient = scheme <= csVelSun;
    }
    update();
}

void TKALVDesignButton::SetCaption(const QString &caption)
{
    m_caption = caption;
    // The character after "&" clicks the button.
    if (m_shortcutId)
        releaseShortcut(m_shortcutId);
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    m_shortcutId = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    update();
}

void TKALVDesignButton::SetCtl3D(bool on)
{
    m_ctl3D = on;
    update();
}

void TKALVDesignButton::SetLayout(TButtonLayout layout)
{
    m_layout = layout;
    update();
}

void TKALVDesignButton::SetGlyph(const QPixmap &glyph)
{
    m_glyph = glyph.copy();
    update();
}

void TKALVDesignButton::SetSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

void TKALVDesignButton::SetGradient(bool on)
{
    m_gradient = on;
    update();
}

TKALVDesignButton::TPlacement TKALVDesignButton::Place() const
{
    const QFontMetrics metrics(font());
    TPlacement p{};
    p.TextWidth = metrics.horizontalAdvance(m_caption);
    p.TextHeight = metrics.height();
    p.TextX = (width() - p.TextWidth) / 2;
    p.TextY = (height() - p.TextHeight) / 2;
    if (m_glyph.isNull())
        return p;
    const int gw = m_glyph.width(), gh = m_glyph.height(), s = m_spacing, s2 = s / 2, r = s % 2;
    const bool caption = !m_caption.isEmpty();
    switch (m_layout) {
    case blGlyphLeft:
        p.GlyphX = p.TextX - gw / 2;
        p.GlyphY = (height() - gh) / 2;
        p.TextX += gw / 2;
        if (caption) {
            p.GlyphX -= s2 + r;
            p.TextX += s2;
        }
        break;
    case blGlyphRight:
        p.GlyphX = p.TextX + p.TextWidth - gw / 2;
        p.GlyphY = (height() - gh) / 2;
        p.TextX += (-gw) / 2;
        if (caption) {
            p.GlyphX += s2 + r;
            p.TextX += (-s) / 2;
        }
        break;
    case blGlyphTop:
        p.GlyphX = (width() - gw) / 2;
        p.GlyphY = p.TextY - gh / 2 - gh % 2;
        p.TextY += gh / 2;
        if (caption) {
            p.GlyphY -= s2 + r;
            p.TextY += s2;
        }
        break;
    case blGlyphBottom:
        p.GlyphX = (width() - gw) / 2;
        p.GlyphY = p.TextY + p.TextHeight - gh / 2;
        p.TextY += (-gh) / 2;
        if (caption) {
            p.GlyphY += s2 + r;
            p.TextY += (-s) / 2;
        }
        break;
    }
    return p;
}

void TKALVDesignButton::paintEvent(QPaintEvent *)
{
    const int set = !isEnabled() ? DisabledSet : m_state == dsOver ? OverSet : m_state == dsPressed ? DownSet : 0;
    const QColor face = m_colors[set + Face], grad = m_colors[set + Grad];
    QPixmap buffer(size());
    QPainter p(&buffer);
    p.fillRect(rect(), face);
    if (m_gradient && height() > 0) {
        // Channel by channel from the face colour at the top to the gradient colour at the bottom.
        const double h = height();
        const double dr = (grad.red() - face.red()) / h, dg = (grad.green() - face.green()) / h,
                     db = (grad.blue() - face.blue()) / h;
        for (int y = 0; y <= height(); ++y) {
            p.setPen(QColor(int(std::lround(face.red() + dr * y)), int(std::lround(face.green() + dg * y)),
                            int(std::lround(face.blue() + db * y))));
            p.drawLine(0, y, width(), y);
        }
    }
    p.setFont(font());
    p.setPen(m_colors[set + Text]);
    TPlacement place = Place();
    const int shift = m_state == dsPressed ? 1 : 0;
    if (!m_glyph.isNull()) {
        QPixmap glyph = m_glyph;
        if (TransparentGlyph) {
            const QColor key = m_glyph.toImage().pixelColor(0, 0);
            glyph.setMask(m_glyph.createMaskFromColor(key, Qt::MaskInColor));
        }
        p.drawPixmap(place.GlyphX + shift, place.GlyphY + shift, glyph);
    }
    if (!m_caption.isEmpty())
        p.drawText(QRect(place.TextX + shift, place.TextY + shift, place.TextWidth, place.TextHeight),
                   Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip | Qt::TextShowMnemonic, m_caption);
    p.setBrush(Qt::NoBrush);
    p.setPen(m_colors[set + Border]);
    p.drawRect(0, 0, width() - 1, height() - 1);
    if (m_ctl3D) {
        p.setPen(m_colors[set + Light]);
        p.drawPolyline(QPolygon({QPoint(1, height() - 2), QPoint(1, 1), QPoint(width() - 1, 1)}));
        p.setPen(m_colors[set + Dark]);
        p.drawPolyline(QPolygon({QPoint(width() - 2, 1), QPoint(width() - 2, height() - 2), QPoint(1, height() - 2)}));
    }
    if (m_focused) {
        p.setPen(m_colors[FocusRect]);
        p.drawRect(3, 3, width() - 7, height() - 7);
    }
    p.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}

void TKALVDesignButton::Click()
{
    emit OnClick();
    if (ModalResult != 0)
        if (auto *dialog = qobject_cast<QDialog *>(window()))
            dialog->done(ModalResult);
    m_state = dsNormal;
    update();
}

void TKALVDesignButton::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (HotTrack) {
        m_state = dsOver;
        update();
    }
}

void TKALVDesignButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_state = dsNormal;
    update();
}

TKALVDesignButton::TDragZone TKALVDesignButton::ZoneAt(int x, int y) const
{
    TDragZone zone = dzBody;
    const bool left = x < EdgeWidth, right = width() - x < EdgeWidth, top = y < EdgeWidth,
               bottom = height() - y < EdgeWidth;
    if (left)
        zone = dzLeft;
    if (right)
        zone = dzRight;
    if (top)
        zone = dzTop;
    if (bottom)
        zone = dzBottom;
    if (left && top)
        zone = dzTopLeft;
    if (right && bottom)
        zone = dzBottomRight;
    if (left && bottom)
        zone = dzBottomLeft;
    if (right && top)
        zone = dzTopRight;
    return zone;
}

void TKALVDesignButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();  // other buttons are ignored entirely
        return;
    }
    Click();
    m_state = dsPressed;
    const QPoint at = event->position().toPoint();
    m_zone = ZoneAt(at.x(), at.y());
    m_lastX = at.x();
    m_lastY = at.y();
    if (focusPolicy() & Qt::TabFocus)
        setFocus(Qt::MouseFocusReason);
    update();
}

void TKALVDesignButton::Drag(int x, int y)
{
    const int dx = x - m_lastX, dy = y - m_lastY;
    QRect g = geometry();
    auto leftEdge = [&] { g.setLeft(g.left() + dx); };
    auto topEdge = [&] { g.setTop(g.top() + dy); };
    auto rightEdge = [&] { g.setWidth(g.width() + dx); m_lastX = x; };
    auto bottomEdge = [&] { g.setHeight(g.height() + dy); m_lastY = y; };
    switch (m_zone) {
    case dzLeft: leftEdge(); break;
    case dzRight: rightEdge(); break;
    case dzTop: topEdge(); break;
    case dzBottom: bottomEdge(); break;
    case dzTopLeft: leftEdge(); topEdge(); break;
    case dzBottomRight: rightEdge(); bottomEdge(); break;
    case dzTopRight: rightEdge(); topEdge(); break;
    case dzBottomLeft: leftEdge(); bottomEdge(); break;
    case dzBody: g.translate(dx, dy); break;
    case dzNone: return;
    }
    // Nothing gets smaller than the minimum size.
    if (g.width() < MinSize)
        g.setWidth(MinSize);
    if (g.height() < MinSize)
        g.setHeight(MinSize);
    setGeometry(g);
}

void TKALVDesignButton::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (m_zone != dzNone && (event->buttons() & Qt::LeftButton))
        Drag(int(event->position().x()), int(event->position().y()));
}

void TKALVDesignButton::KeepInsideParent()
{
    QWidget *owner = parentWidget();
    if (!owner)
        return;
    int left = x(), top = y();
    if (left < 0)
        left = 0;
    else if (left > owner->width())
        left = owner->width() - 10;
    if (top < 0)
        top = 0;
    else if (top > owner->height())
        top = owner->height() - 10;
    move(left, top);
}

void TKALVDesignButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QPoint at = event->position().toPoint();
    m_state = dsNormal;
    if (at.x() > 0 && at.x() < width() && at.y() > 0 && at.y() < height())
        m_state = HotTrack ? dsOver : dsNormal;
    update();
    KeepInsideParent();
    m_zone = dzNone;
}

void TKALVDesignButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_state = dsPressed;
        update();
        return;
    }
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) ||
        (plain && event->key() == Qt::Key_Escape && Cancel)) {
        Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TKALVDesignButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_state = dsNormal;
        Click();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TKALVDesignButton::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_focused = true;
    update();
}

void TKALVDesignButton::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_focused = false;
    m_state = dsNormal;
    update();
}

bool TKALVDesignButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut && isEnabled()) {
        Click();
        return true;
    }
    return QWidget::event(event);
}

void TKALVDesignButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}
