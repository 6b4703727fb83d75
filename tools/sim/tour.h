// A scripted tour of 2,400 frames that touches every part of the game: walking
// both ways, the jetpack up and down with and without boost, aiming, firing
// every weapon, picking up, dropping and throwing, remembering and teleporting,
// zoom, the HUD, the menu, and the editor (a palette click, flips, painting,
// the eyedropper, pan, tile set 1, undo).
// quarn-sim --tour runs it; the benchmark's tour scenario and the
// determinism tests use it too.
#pragma once

namespace sim {

inline const char* TourScript() {
  return R"(# walk right, then left, picking up on the way
0-199 W
200-219 W N
240-399 Q
300-319 Q N
# fly: up with and without boost, sideways in the air, then down
400-519 P
440-479 J
460-560 W
560-639 L
# aim and fire the pistol, icer, blaster and plasma gun
640-659 O
650-760 RETURN
700 F2
730 F3
760-779 K
770-880 RETURN
800 F4
830 F1
840 I
# remember, turn round, walk, teleport back
900 R
905 TAB
910-1000 Q
1010 T
# drop, throw, the jetpack and suit selections, zoom in and out
1020-1025 M
1030-1035 C
1040 F7
1045 F5
1050-1069 KP2
1070-1089 KP8
# the HUD on, then the menu on and off (the world stands still while it shows)
1100 1
1150 0
1150-1200 W
1210 0
1300 1
# the editor: on, pick a tile from the palette, flips, paint, pick a tile up,
# pan, tile set 1, undo, off
1400 2
1410 click 100 100
1420 4
1430 click 500 400
1440 5
1450 click 560 400
1460 3
1470-1500 W
1480 click 600 300 2
1490-1500 LEFT
1502 9
1505 click 650 350
1510 Z
1520 2
# a last run: fly right firing the random weapon selection
1600 F6
1600-1900 P W
1650-1900 RETURN
1900-2100 L Q
2100-2399 W RETURN
)";
}

}  // namespace sim
