#pragma once

#include <QAccessibleWidget>

// What assistive technology (Orca, NVDA) sees of a label button or a picture button: a button named
// by its caption (a picture button by the word on its picture), with its key as the shortcut,
// pressed through the press action as a click presses it.
class CommandAccessible : public QAccessibleWidget {
public:
    // `button` is a LabelButton or a PictureButton.
    explicit CommandAccessible(QWidget *button);

    // The caption's name and key: "Nowy poniżej         Ctrl+N" is "Nowy poniżej" and "Ctrl+N"; a
    // caption with no key at its end gives the key of its tooltip's "(F10)", if any.
    struct Parts {
        QString name;
        QString key;
    };
    static Parts split(const QString &caption, const QString &toolTip = {});

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    Parts parts() const;
};
