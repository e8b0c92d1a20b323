// The colours of the editor's texts.
#pragma once

constexpr int White = 0xFFFFFF;
constexpr int Dim = 0x888888;
constexpr int Warning = 0xFF4040;
constexpr int Good = 0x40FF40;
constexpr int Caution = 0xFFA000;   // good, with a fault to look at
// Dead ends, framed in the grid and counted in the panel in the same colours.
constexpr int TrapColour = 0x00E0FF;
constexpr int CostlyColour = Caution;
