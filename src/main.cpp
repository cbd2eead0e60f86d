// Entry point: the game shell does the rest.
#include "shell/Main.h"

int main() { return gameMain(); }
