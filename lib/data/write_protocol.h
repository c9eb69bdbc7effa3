#pragma once
// The one way the program writes a record, always on the selected area:
//   ADD_NEW_REC() or (position and) LOCK_FOR_MODIFY(); assign fields; UNLOCK_NEW_REC() or
//   UNLOCK_FOR_MODIFY(), which writes the record and its index keys and releases the lock.
// A refused append or lock is retried every 100 ms without limit (a busy wait); after 5 s every
// further refusal shows "El dato se encuentra bloqueado: " + alias (and, for the server engine,
// "/" + the record number right-aligned in 10), caption "Alerta". Each retry selects the area
// it started on again, since an alert box can run other work of the program meanwhile.

namespace data {

// Appends a blank record and leaves the cursor on it, holding its lock.
void ADD_NEW_REC();
// Locks the current record (other record locks of the area are released).
void LOCK_FOR_MODIFY();
// Writes the changed record and its index keys and releases the area's locks.
void UNLOCK_FOR_MODIFY();
void UNLOCK_NEW_REC();

}  // namespace data
