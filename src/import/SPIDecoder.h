#pragma once
// The decoder of one picture through the image-input plug-ins: it offers the
// picture to the candidates in turn, at start offset 0 and (for MacBinary
// files) 128, and keeps the first result that passes the host's checks. The
// file variant hands the plug-ins the file name, the stream variant the
// picture in memory.
#include <QByteArray>
#include <QString>
#include <exception>
#include <memory>
#include <vector>

#include "import/DecodedRows.h"
#include "import/SPIDIBLayout.h"
#include "import/UnreadablePicture.h"
#include "platform/Graphic.h"
#include "platform/MemoryHandle.h"
#include "platform/SpiAbi.h"

namespace tam32 {

class TInSPI;
class TMemoryStream;
class TStream;

class TInSPIAbleData : public TObject {
public:
    ~TInSPIAbleData() override;
    TInSPIAbleData(const TInSPIAbleData&) = delete;
    TInSPIAbleData& operator=(const TInSPIAbleData&) = delete;
    const char* ClassName() const override { return "TInSPIAbleData"; }

    // Decodes the picture; a picture no plug-in decodes leaves the decoder
    // empty. An exception of the progress handler ends the search and passes
    // on once the plug-in has returned.
    void LoadGraphic();
    bool IsEmpty() const { return HBInfo == nullptr || HBm == nullptr; }
    // Why the last LoadGraphic left the decoder empty: the most telling
    // answer of the plug-ins that were asked.
    TPictureFault Fault() const { return FFault; }
    // The decoded blocks, locked on first use until FreeHandles.
    const uint8_t* GetBitmapInfo();
    const uint8_t* GetBits();
    // The pixel block (never the BITMAPINFO's: decoding refuses that),
    // handed over to the caller and no longer the decoder's.
    HLOCAL TakeBits();
    // Sizes of the decoded picture; meaningful while the decoder is not empty.
    const TSPIDIBLayout& Layout() const { return FLayout; }
    void FreeHandles();

    HLOCAL HBInfo = nullptr;
    HLOCAL HBm = nullptr;
    QString FileName;
    SpiPictureInfo PictureInfo{};
    TGraphic* Owner;
    TProgressEvent OnProgress;
    bool PictureInfoValid = false;

protected:
    struct PictureArguments {
        const char* Buf;
        intptr_t Len;
        uint32_t Flag;
    };

    TInSPIAbleData(TGraphic* AOwner, const QString& AFileName);
    // FileName as the plug-ins get it.
    const char* EncodedFileName() const { return FEncodedFileName.constData(); }
    // Copies the first min(picture length, Count) bytes of the picture.
    virtual void ReadHeader(uint8_t* Buffer, int64_t Count) = 0;
    // The picture's length in bytes; 0 when it cannot be told.
    virtual int64_t PictureSize() = 0;
    // What "GetPictureInfo", "GetPicture" and "GetPreview" get for a start offset.
    virtual PictureArguments Arguments(int32_t Offset) = 0;

private:
    // The callbacks handed to the plug-ins, with the decoder as their data.
    static int32_t ProgressCallback(int32_t Num, int32_t Denom, intptr_t Data);
    static void RowsCallback(SpiHandle Info, SpiHandle Bits, int32_t RowsDone, intptr_t Data);
    void LoadBy(const TInSPI& SPI, int32_t Offset);
    void TakePicture(const TInSPI& SPI, const PictureArguments& Args, bool Preview);
    // Frees the handles of a call that succeeded but gave nothing usable.
    void DiscardDecoded();
    int32_t PluginProgress(int32_t Num, int32_t Denom);
    // Passes the rows a plug-in has finished on to the thread's row watch.
    void PluginRows(SpiHandle Info, SpiHandle Bits, int32_t RowsDone);
    // The watch hears that the rows it was told of go, if it was told of any.
    void WithdrawRows();
    // FRows from a plug-in's blocks; false for blocks that are no rows to read.
    bool ReadRowLayout(HLOCAL Info, HLOCAL Bits);
    void RethrowPending();
    void Report(TProgressStage Stage, uint8_t PercentDone, const QString& Msg);

    QByteArray FEncodedFileName;
    std::vector<uint8_t> FHeader;
    void* FBitmapInfo = nullptr;
    void* FBits = nullptr;
    TSPIDIBLayout FLayout;
    std::exception_ptr FPending;
    TPictureFault FFault = TPictureFault::NotAPicture;
    // The rows told to the watch: the picture's layout, read at the first
    // telling, with the count of rows growing.
    TDecodedRows FRows;
    bool FRowsTold = false;
};

class TInSPIAbleFromFile : public TInSPIAbleData {
public:
    TInSPIAbleFromFile(TGraphic* AOwner, const QString& AFileName) : TInSPIAbleData(AOwner, AFileName) {}
    const char* ClassName() const override { return "TInSPIAbleFromFile"; }

protected:
    // A file that cannot be read leaves the buffer as it is.
    void ReadHeader(uint8_t* Buffer, int64_t Count) override;
    int64_t PictureSize() override;
    PictureArguments Arguments(int32_t Offset) override;
};

class TInSPIAbleFromStream : public TInSPIAbleData {
public:
    // A memory stream is decoded in place; any other is copied whole, from
    // its beginning.
    TInSPIAbleFromStream(TGraphic* AOwner, const QString& AFileName, TStream& Stream);
    ~TInSPIAbleFromStream() override;
    const char* ClassName() const override { return "TInSPIAbleFromStream"; }

    const uint8_t* Memory = nullptr;
    int64_t Size = 0;
    std::unique_ptr<TMemoryStream> OwnStream;

protected:
    void ReadHeader(uint8_t* Buffer, int64_t Count) override;
    int64_t PictureSize() override { return Size; }
    PictureArguments Arguments(int32_t Offset) override;
};

}  // namespace tam32
