// Enumerations the skin records, the skin model and the skin painters share: how a picture part
// fills a larger area, which morph transition a look change takes, which effect an inactive form
// frame gets, and the window command of a caption button.
#pragma once

// bsstFull stretches both ways, bsstHorz stretches to the height and repeats across, bsstVert
// stretches to the width and repeats down.
enum TbsStretchType { bsstFull, bsstHorz, bsstVert };

enum TbsMorphKind { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

enum TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };

enum TbsStdCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };
