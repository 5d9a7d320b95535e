#pragma once
// A self-painted button with colour schemes and a vertical gradient that the user moves by
// dragging its body and resizes by dragging its edges and corners.

#include <QPixmap>
#include <QWidget>

enum TColorScheme {
    csVelDesert, csVelSky, csVelGrass, csVelSilver, csVelRose, csVelSun,
    csDesert, csGrass, csSky, csSun, csRose, csSilver, csCustom
};
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TKALVDesignButton : public QWidget
{
    Q_OBJECT
public:
    explicit TKALVDesignButton(QWidget *parent = nullptr);

    // The 25 colours: 0-5 normal (face, gradient, dark, light, border, text), 6-11 over,
    // 12-17 pressed, 18-23 disabled, 24 the focus rectangle. Setting one makes the scheme custom.
    enum TColorIndex { Face = 0, Grad = 1, Dark = 2, Light = 3, Border = 4, Text = 5, OverSet = 6, DownSet = 12,
                       DisabledSet = 18, FocusRect = 24, ColorCount = 25 };
    QColor Color(int index) const { return m_colors[index]; }
    void SetColor(int index, const QColor &color);
    void SetColorFace(const QColor &color) { SetColor(Face, color); }

    TColorScheme ColorScheme() const { return m_scheme; }
    void SetColorScheme(TColorScheme scheme);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool on);
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout layout);
    const QPixmap &Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap &glyph);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing);
    bool TransparentGlyph = true;
    bool Gradient() const { return m_gradient; }
    void SetGradient(bool on);
    bool HotTrack = true;
    bool Cancel = false;
    bool Default = false;
    int ModalResult = 0;

    enum TDrawState { dsNormal, dsOver, dsPressed };
    TDrawState DrawState() const { return m_state; }
    enum TDragZone { dzNone, dzLeft, dzRight, dzTop, dzBottom, dzTopLeft, dzBottomRight, dzTopRight, dzBottomLeft,
                     dzBody };
    TDragZone DragZone() const { return m_zone; }

    // Where the caption and glyph go for the current size, font and layout.
    struct TPlacement {
        int TextX, TextY, TextWidth, TextHeight, GlyphX, GlyphY;
    };
    TPlacement Place() const;

    static constexpr int EdgeWidth = 5;
    static constexpr int MinSize = 20;

    void Click();

signals:
    void OnClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    TDragZone ZoneAt(int x, int y) const;
    void Drag(int x, int y);
    void KeepInsideParent();

    QColor m_colors[ColorCount];
    TColorScheme m_scheme = csVelDesert;
    QString m_caption;
    bool m_ctl3D = true;
    TButtonLayout m_layout = blGlyphLeft;
    QPixmap m_glyph;
    int m_spacing = 4;
    bool m_gradient = true;
    TDrawState m_state = dsNormal;
    bool m_focused = false;
    TDragZone m_zone = dzNone;
    int m_lastX = 0, m_lastY = 0;
    int m_shortcutId = 0;
};
