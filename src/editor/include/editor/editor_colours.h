// The colours of the editor's texts.
#pragma once

constexpr int White = 0xFFFFFF;
constexpr int Dim = 0x888888;
constexpr int Warning = 0xFF4040;
constexpr int Good = 0x40FF40;
