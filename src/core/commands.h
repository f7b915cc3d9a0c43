#pragma once
// Every action a user can ask of the album, by name. Keys, menu items, dropped files and the
// command line all lead to one of these; what each does is written once, in the album's command
// table.

namespace leafsong {

enum class Command {
    ChooseFolder,             // ask for a folder of pictures, then open it
    ChooseMusic,              // ask for a music file, then play it
    ToggleLoop,               // picture loop mode on or off
    ToggleRepeat,             // music repeat mode on or off
    ToggleFooter,             // page numbers on or off
    ToggleProportions,        // pictures fitted with their proportions kept, or stretched
    ShowGuide,                // the guide in a text editor
    Exit,                     // the orderly end
    TurnForward,              // one page towards the end of the folder
    TurnBackward,             // one page towards its start
    ToggleAutoTurn,           // automatic turning on or off, forward
    ToggleAutoTurnAtPointer,  // the same, in the direction of the pointer's half of the book
    OpenFolder,               // (path) the folder becomes the album, shown from its first picture
    PlayMusic,    // (path) the file becomes the background music and plays from its start
    OpenDropped,  // (paths) the first picture or music file of a drop
    OpenGiven,    // (path) a folder, picture or music file named on the command line or handed
                  // over by a second copy: a picture opens its folder at that picture
};

}  // namespace leafsong
