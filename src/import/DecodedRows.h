#pragma once
// The rows of a picture while a plug-in decodes it, for a caller that works
// on them as they come (the gap fraction counts them while the rest of the
// picture decodes). A watch made on a thread hears, for as long as it lives,
// of the rows that a plug-in decoding on that thread finishes, when the
// plug-in tells them (our own plug-ins do).
#include <cstddef>
#include <cstdint>

namespace tam32 {

struct TDecodedRows {
    const uint8_t* Top = nullptr;  // row 0
    std::ptrdiff_t Stride = 0;     // from a row to the one below it
    int Width = 0, Height = 0, BitCount = 0;
    int Done = 0;  // rows 0 .. Done - 1 are final
};

class TDecodedRowsWatch {
public:
    TDecodedRowsWatch();
    virtual ~TDecodedRowsWatch();
    TDecodedRowsWatch(const TDecodedRowsWatch&) = delete;
    TDecodedRowsWatch& operator=(const TDecodedRowsWatch&) = delete;

    // The watch of the calling thread, nullptr when there is none.
    static TDecodedRowsWatch* Active();

    // On the decoding thread, with Done growing; the rows stay in place
    // until RowsWithdrawn or the end of the load.
    virtual void RowsDecoded(const TDecodedRows& Rows) = 0;
    // The rows told so far are about to be freed: they are not read after
    // this returns.
    virtual void RowsWithdrawn() = 0;

private:
    TDecodedRowsWatch* FOuter;
};

}  // namespace tam32
