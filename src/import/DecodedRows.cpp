#include "import/DecodedRows.h"

namespace tam32 {
namespace {

thread_local TDecodedRowsWatch* ActiveWatch = nullptr;

}  // namespace

TDecodedRowsWatch::TDecodedRowsWatch() : FOuter(ActiveWatch) { ActiveWatch = this; }

TDecodedRowsWatch::~TDecodedRowsWatch() { ActiveWatch = FOuter; }

TDecodedRowsWatch* TDecodedRowsWatch::Active() { return ActiveWatch; }

}  // namespace tam32
