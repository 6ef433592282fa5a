#include "files/TextDecoding.h"

#include "files/DecodedText.h"

QString DecodeText(QByteArrayView bytes, qsizetype chunkBytes) {
    return DecodedText(bytes.toByteArray(), DecodedText::Form::AsLoaded, chunkBytes).ReadAll();
}

QString DecodeExactUtf8(QByteArrayView bytes, qsizetype chunkBytes) {
    return DecodedText(bytes.toByteArray(), DecodedText::Form::Exact, chunkBytes).ReadAll();
}
