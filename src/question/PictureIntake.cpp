#include "question/PictureIntake.h"

#include "core/Workspace.h"
#include "storage/PhotoShrinking.h"

std::optional<QByteArray> pictureToStore(Workspace &ws, const QString &name, const QByteArray &bytes)
{
    if (ws.settings.zdz == EditorSettings::ShrinkNever)
        return bytes;
    std::optional<PhotoShrinking::Shrunk> shrunk = PhotoShrinking::shrink(bytes, name);
    if (!shrunk)
        return bytes;
    if (ws.settings.zdz != EditorSettings::ShrinkAlways) {
        switch (ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon,
                               PhotoShrinking::offerText(*shrunk, bytes.size()))) {
        case MessageResult::Yes:
            break;
        case MessageResult::Cancel:
            return std::nullopt;
        default:
            return bytes;
        }
    }
    return std::move(shrunk->bytes);
}
