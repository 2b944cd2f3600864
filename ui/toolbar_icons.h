#pragma once

#include <QIcon>

namespace lapwerk {

/// The pictures of the toolbar buttons, one per command.
enum class ToolIcon {
    New,
    Open,
    Save,
    Print,
    Select,
    Undo,
    Redo,
    GotoBegin,
    Back,
    Forward,
    GotoEnd,
    RotateWest,
    RotateNorth,
    RotateEast,
    RotateSouth,
    InsertSection,
    DeleteSection,
    ChangeSection,
    InsertTrack,
    DeleteTrack,
    CopyTrack,
    MirrorTrack,
    JoinTrack,
    SplitTrack,
    GroupTrack,
    UngroupTrack,
    CloseTrack,
};

/// The icon of a button, drawn in code at 16 and 32 pixels; every icon has a greyed disabled
/// form.
QIcon MakeToolIcon(ToolIcon icon);

} // namespace lapwerk
