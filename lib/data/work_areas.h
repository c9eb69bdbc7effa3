#pragma once
// The process's work areas: numbered cursors (from 1), the one selected cursor, and the engine's
// network-error flag that the retry loops test.

#include <memory>
#include <string>
#include <string_view>

#include "platform/xbase/cursor.h"

namespace data {

struct WorkArea {
  std::unique_ptr<xbase::Cursor> cursor;
  std::string alias;
  std::string driver;  // the driver the open used ("DBFCDX", "ADS")
  std::string engine;  // the engine name the table reports ("DBFCDX", "ADSCDX")
};

// The lowest area number that holds no open table.
int LowestFreeArea();
// Puts an opened table into `area` (which must be free).
void OccupyArea(int area, WorkArea work_area);
// Closes the table in `area` (writing its pending changes); a free area is left alone.
void CloseArea(int area);
// Closes every open table (the program's end); the first failure is raised after all were tried.
void CloseAllAreas();
// The table open in `area`, or nullptr.
WorkArea* FindArea(int area);

// The selected area number (0 when nothing was ever selected) and its selection.
int SelectedArea();
void SelectArea(int area);
// The selected area's table; throws DataError (no table in use) when the area is free.
WorkArea& SelectedWorkArea();
xbase::Cursor& SelectedCursor();

// Selects an area for the life of the object and then restores the previous selection.
class AreaSelection {
 public:
  explicit AreaSelection(int area) : previous_(SelectedArea()) { SelectArea(area); }
  ~AreaSelection() { SelectArea(previous_); }
  AreaSelection(const AreaSelection&) = delete;
  AreaSelection& operator=(const AreaSelection&) = delete;

 private:
  int previous_;
};

// Set when an open is refused because another station holds the file, or an append cannot get
// its lock; cleared before every attempt of the retry loops.
bool NETERR();
void SetNetErr(bool value);

// The alias of a table opened as `file_name` in `area`: path, drive and extension dropped,
// trimmed, padded with "0" and cut to 7, then the area as 3 digits ("DET_RES2", 12 ->
// "DET_RES012").
std::string AliasFor(std::string_view file_name, int area);

// The engine name of a driver: "ADSCDX" for the server's drivers, else the driver itself.
std::string EngineOfDriver(const std::string& driver);
// The default driver of the engine in force (settings DEF_RDD).
std::string DefaultDriver();

}  // namespace data
