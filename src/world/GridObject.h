// The root of every thing on the play field: an object on one cell of one
// TileGrid layer that writes its cell value there and draws one Bitmap at
// its pixel position.
//
// The entity classes follow one copy pattern: a default constructor that
// zeroes every field, a copy() that copies the base part and then the own
// fields, an operator= that copies unless assigned to itself and returns a
// copy by value, a copy constructor made of the default constructor and
// copy(), and clone(). Objects live by value in the Level's lists, so every
// one passes through its copy constructor.
//
// Fields are public: the actors read and write each other's (a block revives
// an enemy in place, a player looks at a bomb's cell).
#pragma once

#include "graphics/Bitmap.h"

namespace plat {
class Surface;
}
class TileGrid;

class GridObject {
public:
    GridObject();
    GridObject(const GridObject& other);

    // The virtual operations, in this order for every derived class.
    virtual ~GridObject();
    // Stores everything, puts the object on (col, row) and writes value
    // into (layer, col, row).
    virtual void init(int value, int tileSize, int col, int row, int width, int height, int layer,
                      Bitmap image, TileGrid* grid);
    // Draws the image at (x, y), then writes value into its cell again,
    // active or not.
    virtual void draw(plat::Surface& target);
    virtual GridObject* clone();
    virtual void copy(const GridObject& other);
    virtual GridObject operator=(const GridObject& other);
    // Moves the pixel position to the corner of (col, row); the grid is
    // left as it is.
    virtual void setGridPosition(int col, int row);
    // Inactive, and its cell cleared.
    virtual void remove();

    int getCol() const { return col; }
    int getRow() const { return row; }
    int getX() const { return x; }
    int getY() const { return y; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }

    // The cell of a pixel coordinate; 0 before the object knows its tile
    // size. Rounded down, so that a pixel left of or above the field lies in
    // a cell outside the grid (-1), not in the first column or row.
    int toGrid(int pixel) const {
        if (tileSize <= 0) return 0;
        const int cellIndex = pixel / tileSize;
        return pixel % tileSize < 0 ? cellIndex - 1 : cellIndex;
    }

    bool active;
    TileGrid* grid;  // the stage's grid; not owned
    Bitmap image;
    int x;
    int y;
    int col;
    int row;
    int tileSize;
    int width;
    int height;
    int value;  // the cell value written (world/CellValues.h)
    int layer;

protected:
    // Grid access that does nothing without a grid.
    int tileAt(int layerIndex, int c, int r) const;
    void writeTile(int layerIndex, int c, int r, int v) const;
    // Whether (c, r) is a cell of the grid (false without a grid).
    bool onGrid(int c, int r) const;
};
