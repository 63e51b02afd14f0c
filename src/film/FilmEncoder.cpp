#include "film/FilmEncoder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/TemporaryFiles.h"
#include "core/WriteTarget.h"

namespace velmora {

namespace {

std::string AvText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// The temporary is made and locked here, before the libraries open it by name, so that it is
// removed on Ctrl+C or kill and no sweep takes it for one a crash left.
int MakeTemporary(const std::string& path, std::string& temporary) {
  WriteTarget::RefuseSpecial(path);
  RemoveStaleTemporaries(path);
  temporary = TemporaryNameFor(path);
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) throw IoError(path, std::string("the film cannot be created: ") + std::strerror(errno));
  ::flock(fd, LOCK_EX | LOCK_NB);
  return fd;
}

}  // namespace

struct FilmEncoder::Impl {
  std::string path, temporary, note;
  int lockFd = -1;
  std::optional<TemporaryFiles::Entry> entry;
  int width = 0, height = 0;
  int64_t nextFrame = 0;
  bool finished = false;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  SwsContext* scaler = nullptr;

  ~Impl() {
    sws_freeContext(scaler);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (format != nullptr) {
      if (format->pb != nullptr) avio_closep(&format->pb);
      avformat_free_context(format);
    }
    if (!finished && !temporary.empty()) ::unlink(temporary.c_str());
    if (lockFd >= 0) ::close(lockFd);
  }

  void Check(int code, const char* what) const {
    if (code < 0) throw IoError(path, std::string(what) + ": " + AvText(code));
  }

  const AVCodec* ChooseCodec() {
    if (const AVCodec* h264 = avcodec_find_encoder_by_name("libx264")) return h264;
    if (const AVCodec* h264 = avcodec_find_encoder(AV_CODEC_ID_H264)) return h264;
    note = "no H.264 encoder in this FFmpeg: the film is written as MPEG-4 part 2";
    const AVCodec* mpeg4 = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (mpeg4 == nullptr) throw IoError(path, "this FFmpeg has neither an H.264 nor an MPEG-4 encoder");
    return mpeg4;
  }

  void OpenCodec(int framesPerSecond) {
    const AVCodec* chosen = ChooseCodec();
    codec = avcodec_alloc_context3(chosen);
    if (codec == nullptr) throw IoError(path, "the encoder cannot be set up");
    codec->width = width;
    codec->height = height;
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = AVRational{1, framesPerSecond};
    codec->framerate = AVRational{framesPerSecond, 1};
    codec->gop_size = framesPerSecond;
    if (format->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (chosen->id == AV_CODEC_ID_H264) {
      // Flat coloured cells compress well at a fast preset; the film must keep up with the
      // steps of a whole recording.
      av_opt_set(codec->priv_data, "preset", "veryfast", 0);
      av_opt_set(codec->priv_data, "crf", "20", 0);
    } else {
      codec->bit_rate = int64_t(width) * height * framesPerSecond / 4;
    }
    Check(avcodec_open2(codec, chosen, nullptr), "the encoder cannot be opened");
    stream = avformat_new_stream(format, nullptr);
    if (stream == nullptr) throw IoError(path, "the film stream cannot be made");
    stream->time_base = codec->time_base;
    stream->avg_frame_rate = codec->framerate;
    Check(avcodec_parameters_from_context(stream->codecpar, codec), "the film stream cannot be described");
  }

  void OpenBuffers() {
    frame = av_frame_alloc();
    packet = av_packet_alloc();
    if (frame == nullptr || packet == nullptr) throw IoError(path, "out of memory for the film");
    frame->format = codec->pix_fmt;
    frame->width = width;
    frame->height = height;
    Check(av_frame_get_buffer(frame, 0), "out of memory for the film");
    scaler = sws_getContext(width, height, AV_PIX_FMT_RGB32, width, height, AV_PIX_FMT_YUV420P, SWS_POINT,
                            nullptr, nullptr, nullptr);
    if (scaler == nullptr) throw IoError(path, "the colour conversion cannot be set up");
  }

  // Hands the encoder's finished packets to the file; `frameIn` null drains it.
  void Encode(AVFrame* frameIn) {
    Check(avcodec_send_frame(codec, frameIn), "a frame cannot be encoded");
    for (;;) {
      const int received = avcodec_receive_packet(codec, packet);
      if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return;
      Check(received, "a frame cannot be encoded");
      packet->duration = 1;
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      Check(av_interleaved_write_frame(format, packet), "the film cannot be written");
    }
  }
};

FilmEncoder::FilmEncoder(const std::string& path, int width, int height, int framesPerSecond)
    : impl_(std::make_unique<Impl>()) {
  Impl& f = *impl_;
  f.path = WrittenPath(path);
  f.width = width & ~1;
  f.height = height & ~1;
  if (f.width < 2 || f.height < 2) throw IoError(path, "a film needs frames of at least 2 x 2 pixels");
  if (framesPerSecond < 1) throw IoError(path, "a film needs at least 1 frame per second");
  av_log_set_level(AV_LOG_ERROR);
  f.lockFd = MakeTemporary(f.path, f.temporary);
  f.entry.emplace(f.temporary);
  f.Check(avformat_alloc_output_context2(&f.format, nullptr, "mp4", f.temporary.c_str()),
          "the MP4 format is missing");
  f.OpenCodec(framesPerSecond);
  f.OpenBuffers();
  f.Check(avio_open(&f.format->pb, f.temporary.c_str(), AVIO_FLAG_WRITE), "the film cannot be created");
  f.Check(avformat_write_header(f.format, nullptr), "the film cannot be started");
}

FilmEncoder::~FilmEncoder() = default;

void FilmEncoder::AddFrame(const uint8_t* pixels, int stride) {
  Impl& f = *impl_;
  f.Check(av_frame_make_writable(f.frame), "out of memory for the film");
  const uint8_t* source[1] = {pixels};
  const int sourceStride[1] = {stride};
  sws_scale(f.scaler, source, sourceStride, 0, f.height, f.frame->data, f.frame->linesize);
  f.frame->pts = f.nextFrame++;
  f.Encode(f.frame);
}

void FilmEncoder::Finish() {
  Impl& f = *impl_;
  f.Encode(nullptr);
  f.Check(av_write_trailer(f.format), "the film cannot be closed");
  f.Check(avio_closep(&f.format->pb), "the film cannot be closed");
  if (::fsync(f.lockFd) != 0) throw IoError(f.path, std::string("the film cannot be written: ") + std::strerror(errno));
  if (std::rename(f.temporary.c_str(), f.path.c_str()) != 0)
    throw IoError(f.path, std::string("the film cannot be put in place: ") + std::strerror(errno));
  f.finished = true;
  f.entry.reset();
}

std::string FilmEncoder::CodecName() const { return avcodec_get_name(impl_->codec->codec_id); }

std::string FilmEncoder::FallbackNote() const { return impl_->note; }

bool FilmEncoder::Available() { return true; }

}  // namespace velmora
