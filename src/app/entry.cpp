#include "game.h"

int main() { return WinMain(); }
