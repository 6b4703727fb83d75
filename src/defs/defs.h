// Shared records, enumerations, constants and global tables of the game.
// Every table is a fixed-size global living for the whole process; a slot is
// free when its marker field is 0.
#pragma once
#include <cstdint>

// ---- world units -----------------------------------------------------------
constexpr int32_t DIVSCALE = 128;          // world units per pixel
constexpr int32_t TILE_WIDTH = 64;
constexpr int32_t TILE_HEIGHT = 64;
constexpr int32_t TILE_WSCALE = 8192;      // world units per tile
constexpr int32_t TILE_HSCALE = 8192;
constexpr int32_t MAP_TILES = 256;         // the map is 256 x 256 tiles
constexpr int32_t DISPW = 800;             // design screen
constexpr int32_t DISPH = 600;

// The view every frame draws with: a perspective of 90 degrees, aspect 1.33
// whatever the window's shape, near plane 1, far plane 9999, over the whole
// window; the reset view steps back zoomfac units from the drawing plane and
// puts its point (416, 416) on the view axis.
constexpr double VIEW_FOVY = 90.0;
constexpr double VIEW_ASPECT = 1.33;
constexpr double VIEW_NEAR = 1.0;
constexpr double VIEW_FAR = 9999.0;
constexpr float VIEW_CENTRE = 416.0f;

constexpr int MAX_ENTITIES = 4096;
constexpr int MAX_CLASSES = 256;
constexpr int MAX_PLAYERS = 15;
constexpr int MAX_PARTICLES = 65535;
constexpr int MAX_FOUNTAINS = 128;
constexpr int MAX_WINDS = 32;
constexpr int MAX_TRIGGERS = 32;

// ---- enumerations ------------------------------------------------------------
enum TEntityKind : int32_t {
  blank, man, urn, urnfull, rock, coronium, yellowblob, RCD, CRCD, crystal,
  redshroom, blueshroom, greenshroom, plasmacannon, grenade, grenadeact, pistol,
  icer, blaster, plasmagun, RIP, FIP, protsuit, booster, whistle1, whistle2,
  powerpod, piano, block, cannon, chatter, bullet, ice, plasma, yellowshell,
  blueshell, shock, redblob, redimp, blueimp, cyanimp, mutantimp, greenbird,
  whitebird, bat, pinkbird, redfrog, greenfrog, invisfrog, harry, cyantele,
  pinktele, greentele, redtele, triax, chatteract, whiteburger, cyanburger,
  pinkdalek, reddalek, bluedalek, fluffy, bigfish, stonedcrew, whitewasp,
  greenwasp, pinkgrub, yellowgrub, buzzball, invisbuzzball, greenfish, redfish,
  button, greendoor, reddoor, yellowdoor, cyandoor, redpinkdoor, pinkdoor,
  greendoorh, cyandoorh, tiledoor, tiledoorh, greennest, rednest, yellownest,
  purplenest, slownest, cyannest, redglook, fire, waspnest, piranhanest,
  gargoyle, wpBlaster, wpCannon, wpIcer, wpPistol, wpPlasma, wpSuit, wpJetpack,
  wpRandom, spawner, dropper, guidedice, key1, key2, key3, key4, key5, key6
};
constexpr int NUM_KINDS = 111;  // 0 (blank) .. 110 (key6)

enum TDamageType : int32_t {
  edtNothing, edtExplosion, edtCombust, edtBurn, edtMachine, edtRicochet, edtBigBang
};
enum TEntityState : int32_t {
  esAlive, esHurtFlash, esHurtFlashImmobile, esDying, esTeleporting, esAboutToDie
};
enum TDoorState : int32_t { esOpening, esClosing, esOpen, esClosed, esLocked };
enum TFlip : int32_t { flNorm, flFlipped };
enum TFrame : int32_t { pfLeft, pfRight };
enum TMapTileFlip : int32_t { mtNorm, mtX, mtY, mtXY };
enum TParticleType : int32_t {
  ptDot, ptGravDot, ptBullet, ptIcer, ptStaticDot, ptColdetGravDot
};
enum TSoundId : int32_t {
  es_waspbuzz, es_fanfare, es_pistolshot, es_icershot, es_blastershot,
  es_plasmashot, es_cannonshot, es_splash, es_explosion1, es_explosion2,
  es_bigexplosion, es_ricochet1, es_ricochet2, es_button, es_dooropen,
  es_doorshut, es_chimp1, es_chimp2, es_chimppain1, es_chimppain2
};

// ---- records -------------------------------------------------------------------
struct TEntityX;
typedef TEntityX TEntity;

struct TEntityX {
  int32_t uid;
  TEntityKind kind;
  int32_t x, y;
  int32_t w, h;
  int32_t hp;
  int32_t dx, dy;
  int32_t lifespan;
  int32_t flipx, flipy;      // TFlip values
  int32_t sprite;
  int32_t frame;             // TFrame, holds a frame number in practice
  int32_t subtype, subtypemax, subtypecount;
  int32_t inwater;
  int32_t awake;
  TEntityState estate;
  TDoorState dstate;
  TEntity* parentent;
  int32_t rangle;
  int32_t triggerid;
  int32_t triggered;
  int32_t score;
  int32_t counter;
  int32_t isadoor;
  int32_t locked;
  TEntity* target;
};

typedef void (*TEntityOp)(TEntity*);

struct TEntityClassX {
  TEntityKind kind;
  int32_t width, height;
  int32_t sprsize;
  int32_t sprite;
  int32_t mass;
  int32_t hp;
  int32_t painlevel;
  int32_t regenrate;
  int32_t lifespan;
  int32_t holdable, storeable;
  int32_t canwalk;
  int32_t particlespray;
  int32_t hasgravity;
  int32_t particlecolour;
  char name[16];
  int32_t dmg;
  TDamageType dtype;
  int32_t dtypecolour;
  int32_t dieoncontact;
  int32_t diesinwater;
  int32_t score;
  float framedx;
  TEntityOp think;
  TEntityOp hurt;
};
typedef TEntityClassX TEntityClass;

struct TPlayerState {
  int32_t ent;
  int32_t fountain;
  int32_t jetactive;
  int32_t boost;
  int32_t vangle;
  int32_t aimdx;
  int32_t active;
  char name[16];
  int32_t frags;
  int32_t firecount;
  int32_t score;
  int32_t tx[4], ty[4];
  TEntity obs[4];
  TEntity held;
  int32_t nrg[7];
  int32_t equip[10];
  int32_t passes[7];
};

struct TParticle {
  int32_t colour;   // 0: free slot
  int32_t x, y;
  int32_t dx, dy;
  int32_t lifespan;
  TParticleType ptype;
};

struct TFountain {
  int32_t colour;   // 0: free slot, fountain off
  int32_t x, y;
  int32_t dx, dy;
  int32_t vx, vy;
  int32_t ctr;
  int32_t freq;
  int32_t lifespan;
};

struct TWindArea {
  int32_t x, y;
  int32_t width, height;   // width 0: unused slot
  int32_t vx, vy;
  int32_t wsize;
};

struct TTrigger {
  int32_t id;
  int32_t x, y;
  int32_t w, h;            // right and bottom edges once spawned
  int32_t triggered;
};

struct TMapEditState {
  char mapname[128];
  int32_t editing;
  int32_t tileset;
  int32_t tile;
  TMapTileFlip tileflip;
  int32_t saving;
};

// What the editor's tools keep between frames (world/editor.cpp).
enum TEditTarget : int32_t { etNothing, etPalette, etMap };
constexpr int EDIT_HISTORY = 1024;   // painted cells that can be undone
struct TEditedCell {
  int32_t x, y;
  uint32_t before;   // the tile word the paint replaced
};
struct TEditorState {
  TEditTarget target;      // what the last click hit, in the picture it was made on
  int32_t tile;            // the palette cell it hit
  int32_t cellx, celly;    // the map cell it hit
  int32_t panx, pany;      // the view's offset from player 0, in tiles
  int32_t panheld;         // frames an arrow key has been held
  int32_t undo_hit, set_hit;   // key latches of the undo and tile-set keys
  int32_t unsaved;         // painted cells the map file does not have
  int32_t undos, next;     // undoable cells, and the history slot the next one takes
  TEditedCell history[EDIT_HISTORY];
};

// ---- global tables and frame globals (defined in globals.cpp) ------------------
// frame
extern int32_t framectr, zoomfac, winW, winH;
extern int32_t mouseX, mouseY, mouseB;
extern int32_t clickX, clickY;   // the last click's window pixel, from the top-left
extern int32_t mnu_disp, hud_disp;
extern int32_t oldx, oldy;
extern int32_t xsin[360], xcos[360];
extern TMapEditState MapEditState;
extern TEditorState EditorState;
// world
extern uint32_t mapt[MAP_TILES][MAP_TILES];
extern uint8_t mapmasks[2][1024 * 1024];
extern int32_t mapx, mapy, ax, ay;
// entities
extern TEntity Entities[MAX_ENTITIES];
extern TEntityClass EntityClass[MAX_CLASSES];
extern int32_t eslot;
// players
extern TPlayerState players[MAX_PLAYERS];
extern int32_t pslot;   // player counter at start-up, then the particle cursor
extern int32_t mnu_hit, hud_hit, face_hit, rem_hit, tel_hit, maped_hit;
// environment
extern TParticle Particles[MAX_PARTICLES];
extern TFountain Fountains[MAX_FOUNTAINS];
extern int32_t fslot;
extern TWindArea WindAreas[MAX_WINDS];
extern int32_t wslot, ml, mr;
extern int32_t watery, waterbob, wbobdx, wtop;
extern TTrigger Triggers[MAX_TRIGGERS];
extern int32_t tslot;

// The class record of a kind read from a data file (a subtype, say): kinds
// outside the table get the empty record 0 instead of a read past its end.
inline TEntityClass* ClassOfKind(int32_t kind) {
  return &EntityClass[kind >= 0 && kind < MAX_CLASSES ? kind : 0];
}

// Puts every global of the game back to its process-start value, so a test
// starts from a fresh process's state without starting a process.
void ResetGlobals();
