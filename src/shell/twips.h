#pragma once
// Positions and sizes of the original window are given in twips (1440 an inch).
namespace kuvela {
int twipsToPixels(int twips);
}
