// Media types and samples as Windows' decoders describe them (stride,
// display aperture, pixel aspect, range, matrix), which Wine's never do.
#include <gtest/gtest.h>
#include <windows.h>
#include <d3d11.h>
#include <mfapi.h>
#include <mfidl.h>

#include <cstring>
#include <vector>

#include "outside/media/VideoFrameFormat.h"
#include "runtime/UniqueHandle.h"

namespace qova::media {
namespace {

class VideoFrameFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_LITE))); }
  void TearDown() override { ::MFShutdown(); }

  static ComPtr<IMFMediaType> videoType(const GUID& subtype, UINT32 width, UINT32 height) {
    ComPtr<IMFMediaType> type;
    EXPECT_TRUE(SUCCEEDED(::MFCreateMediaType(type.put())));
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    type->SetGUID(MF_MT_SUBTYPE, subtype);
    if (width) ::MFSetAttributeSize(type.get(), MF_MT_FRAME_SIZE, width, height);
    return type;
  }

  static void setAperture(IMFMediaType* type, LONG x, LONG y, LONG width, LONG height) {
    MFVideoArea area{};
    area.OffsetX.value = static_cast<short>(x);
    area.OffsetY.value = static_cast<short>(y);
    area.Area = {width, height};
    type->SetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<const UINT8*>(&area), sizeof area);
  }

  static ComPtr<IMFSample> sampleOf(const std::vector<uint8_t>& bytes) {
    ComPtr<IMFMediaBuffer> buffer;
    ComPtr<IMFSample> sample;
    EXPECT_TRUE(SUCCEEDED(::MFCreateMemoryBuffer(static_cast<DWORD>(bytes.size()), buffer.put())));
    BYTE* data = nullptr;
    EXPECT_TRUE(SUCCEEDED(buffer->Lock(&data, nullptr, nullptr)));
    std::memcpy(data, bytes.data(), bytes.size());
    buffer->Unlock();
    buffer->SetCurrentLength(static_cast<DWORD>(bytes.size()));
    EXPECT_TRUE(SUCCEEDED(::MFCreateSample(sample.put())));
    sample->AddBuffer(buffer.get());
    return sample;
  }
};

TEST_F(VideoFrameFormatTest, PaddedHighDefinitionFrameWithItsDisplayAperture) {
  ComPtr<IMFMediaType> type = videoType(MFVideoFormat_NV12, 1920, 1088);
  type->SetUINT32(MF_MT_DEFAULT_STRIDE, 2048);
  setAperture(type.get(), 0, 0, 1920, 1080);
  ::MFSetAttributeRatio(type.get(), MF_MT_PIXEL_ASPECT_RATIO, 1, 1);
  const std::optional<VideoFrameFormat> format = describeVideoType(type.get());
  ASSERT_TRUE(format);
  EXPECT_EQ(format->frame.layout, PixelLayout::Nv12);
  EXPECT_EQ(format->frame.stride, 2048);
  EXPECT_TRUE(format->strideGiven);
  EXPECT_EQ(format->picture.width, 1920);
  EXPECT_EQ(format->picture.height, 1080);
  EXPECT_EQ(format->frame.matrix, YuvMatrix::Bt709) << "untagged high definition";
  EXPECT_FALSE(format->frame.fullRange);
  EXPECT_EQ(format->pixelAspectNumerator, 1);
}

TEST_F(VideoFrameFormatTest, TagsForMatrixRangeAndPixelAspectAreFollowed) {
  ComPtr<IMFMediaType> type = videoType(MFVideoFormat_I420, 720, 480);
  type->SetUINT32(MF_MT_YUV_MATRIX, MFVideoTransferMatrix_BT709);
  type->SetUINT32(MF_MT_VIDEO_NOMINAL_RANGE, MFNominalRange_0_255);
  ::MFSetAttributeRatio(type.get(), MF_MT_PIXEL_ASPECT_RATIO, 32, 27);
  setAperture(type.get(), 700, 0, 100, 100);  // not inside the frame: ignored
  const std::optional<VideoFrameFormat> format = describeVideoType(type.get());
  ASSERT_TRUE(format);
  EXPECT_EQ(format->frame.layout, PixelLayout::I420);
  EXPECT_EQ(format->frame.stride, 720);
  EXPECT_FALSE(format->strideGiven);
  EXPECT_EQ(format->frame.matrix, YuvMatrix::Bt709);
  EXPECT_TRUE(format->frame.fullRange);
  EXPECT_EQ(format->pixelAspectNumerator, 32);
  EXPECT_EQ(format->pixelAspectDenominator, 27);
  EXPECT_EQ(format->picture.width, 720);
  EXPECT_EQ(format->picture.height, 480);
}

TEST_F(VideoFrameFormatTest, CompressedOrSizelessTypesAreNotReadable) {
  EXPECT_FALSE(describeVideoType(videoType(MFVideoFormat_H264, 320, 240).get()));
  EXPECT_FALSE(describeVideoType(videoType(MFVideoFormat_NV12, 0, 0).get()));
  EXPECT_FALSE(describeVideoType(nullptr));
  EXPECT_TRUE(layoutOfSubtype(MFVideoFormat_IYUV));
  EXPECT_TRUE(layoutOfSubtype(MFVideoFormat_ARGB32));
  EXPECT_FALSE(layoutOfSubtype(MFVideoFormat_MJPG));
}

TEST_F(VideoFrameFormatTest, BottomUpRgb32SampleComesOutTopRowFirst) {
  ComPtr<IMFMediaType> type = videoType(MFVideoFormat_RGB32, 2, 2);
  type->SetUINT32(MF_MT_DEFAULT_STRIDE, static_cast<UINT32>(-8));
  const std::optional<VideoFrameFormat> format = describeVideoType(type.get());
  ASSERT_TRUE(format);
  // Stored bottom row first: (10,20,30) (40,50,60) is the picture's lower row.
  const std::vector<uint8_t> bytes{10, 20, 30, 0, 40, 50, 60, 0, 1, 2, 3, 0, 4, 5, 6, 0};
  const RgbImage picture = pictureOfSample(sampleOf(bytes).get(), *format);
  ASSERT_EQ(picture.width, 2);
  EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 10, 20, 30, 40, 50, 60}));
}

TEST_F(VideoFrameFormatTest, UnstatedPaddingIsFoundFromTheBufferLength) {
  // 6x4 NV12 stored with rows of 8 bytes, and no stride in the type.
  ComPtr<IMFMediaType> type = videoType(MFVideoFormat_NV12, 6, 4);
  const std::optional<VideoFrameFormat> format = describeVideoType(type.get());
  ASSERT_TRUE(format);
  std::vector<uint8_t> padded(8 * 6, 128);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) padded[y * 8 + x] = x < 6 ? 235 : 16;  // white picture, black padding
  const RgbImage picture = pictureOfSample(sampleOf(padded).get(), *format);
  ASSERT_EQ(picture.width, 6);
  ASSERT_EQ(picture.height, 4);
  for (uint8_t value : picture.pixels) ASSERT_EQ(value, 255) << "padding read as picture";
}

TEST_F(VideoFrameFormatTest, ASampleTooShortForItsTypeGivesNoPicture) {
  ComPtr<IMFMediaType> type = videoType(MFVideoFormat_NV12, 6, 4);
  const std::optional<VideoFrameFormat> format = describeVideoType(type.get());
  ASSERT_TRUE(format);
  EXPECT_TRUE(pictureOfSample(sampleOf(std::vector<uint8_t>(35, 128)).get(), *format).empty());
  EXPECT_TRUE(pictureOfSample(nullptr, *format).empty());
}

// A hardware decoder's frame lies in a texture; the engine reports the card's path by it.
TEST_F(VideoFrameFormatTest, OnlyASampleInATextureIsOnTheCard) {
  ComPtr<ID3D11Device> device;
  ASSERT_TRUE(SUCCEEDED(::D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, nullptr, 0,
                                            D3D11_SDK_VERSION, device.put(), nullptr, nullptr)));
  D3D11_TEXTURE2D_DESC desc{};
  desc.Width = 16;
  desc.Height = 16;
  desc.MipLevels = 1;
  desc.ArraySize = 1;
  desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
  desc.SampleDesc.Count = 1;
  desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  ComPtr<ID3D11Texture2D> texture;
  ASSERT_TRUE(SUCCEEDED(device->CreateTexture2D(&desc, nullptr, texture.put())));
  ComPtr<IMFMediaBuffer> onCard;
  ASSERT_TRUE(SUCCEEDED(::MFCreateDXGISurfaceBuffer(__uuidof(ID3D11Texture2D), texture.get(), 0, FALSE, onCard.put())));
  ComPtr<IMFSample> sample;
  ASSERT_TRUE(SUCCEEDED(::MFCreateSample(sample.put())));
  sample->AddBuffer(onCard.get());

  EXPECT_TRUE(sampleOnCard(sample.get()));
  EXPECT_FALSE(sampleOnCard(sampleOf(std::vector<uint8_t>(64, 0)).get()));
  EXPECT_FALSE(sampleOnCard(nullptr));
}

}  // namespace
}  // namespace qova::media
