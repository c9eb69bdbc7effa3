#pragma once
// Rolling back the database server's open transaction when an error strikes inside it.

#include <string>

namespace frame {

// Writes the LOG_ROLL record of a rolled-back transaction (reason: XADS_T_ERR) and closes the
// transaction (XADSTRANS 0).
void ROLLBACK_TRANSACTION();

// When the server engine is in use and a transaction is open: opens NEGOCIOS, keeps
// `message_line` as the reason, rolls the transaction back and closes the table again.
void RollbackOpenTransaction(const std::string& message_line);

}  // namespace frame
