#pragma once

#include <QImage>
#include <QWidget>

// A picture shown whole inside the widget: scaled down to fit (never up), centred, blended over the
// widget's background with its alpha. Without a picture it shows a note instead.
class PictureView : public QWidget {
    Q_OBJECT

public:
    explicit PictureView(const QString &name, QWidget *parent = nullptr);

    void setPicture(const QImage &picture, const QString &note = {});
    const QImage &picture() const { return m_picture; }
    const QString &note() const { return m_note; }
    // The rectangle the picture is drawn in.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void rescale();

    QImage m_picture;
    QImage m_scaled;
    QString m_note;
};
