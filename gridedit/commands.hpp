// The commands of the editor, each run from the command loop.
#pragma once

#include "editor.hpp"

namespace gridedit {

// The command loop after the banner; ends only through quit.
void main_routine();

// Commands on the network as a whole.
void ijmax(Editor& e);
void setblock(Editor& e);
void input(Editor& e);
void output(Editor& e);
void settitle(Editor& e);
void klue(Editor& e);
void quit(Editor& e);

// Point-by-point changes of the working range.
void transform(Editor& e);
void reverse(Editor& e);
void transpose(Editor& e);
void scale(Editor& e);
void translate(Editor& e);
void rotate(Editor& e);

// Curve work along the grid lines.
void respline(Editor& e);
void extend_command(Editor& e);
void dextend_command(Editor& e);

// Cuts of bulbs and hulls.
void truncate_command(Editor& e);
void splitbulb_command(Editor& e);
void transom_command(Editor& e);
void tranatx_command(Editor& e);
void tranxlin_command(Editor& e);

}  // namespace gridedit
