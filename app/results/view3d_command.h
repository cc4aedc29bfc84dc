// The "--view 3d" branch of tarnel-plot: the 3-D View of a data file drawn to a picture.
//
//   tarnel-plot DATAFILE.tn5d --view 3d --out PICTURE [--width IN --height IN --ppi N]
//               [--deformed FACTOR] [--angles RX,RY,RZ]
//
// With --deformed the wall takes the deflected shape of the last run (the plot file beside
// the data file), exaggerated by FACTOR, with the straight wall as an outline. Exit codes
// as the rest of the tool: 0 written; 1 wrong usage; 2 the data or plot file is missing or
// damaged, or the picture could not be written; 3 no deflection to draw; 4 no OpenGL
// context can be made on this system.
#pragma once

#include <QStringList>

// True when the arguments ask for the 3D view.
bool IsView3DCommand(const QStringList& args);
// Runs the command (arguments without the program name); returns the exit code.
int RunView3DCommand(const QStringList& args);

// The usage lines of the command.
extern const char* const kView3DUsage;
