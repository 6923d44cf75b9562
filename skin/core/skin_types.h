// Small types shared by the skin core's pictures and the skin records that describe them. The
// morph kinds and inactive-frame effects live with the effects bitmap (effect_bitmap.h).
#pragma once

// How a picture fills an area when stretching is on: stretched both ways, stretched to the
// height and repeated across, or stretched to the width and repeated down.
enum TbsStretchType { bsstFull, bsstHorz, bsstVert };

// The window command of a caption button.
enum TbsStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };
