#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "Audio.h"
#include "Canvas.h"

namespace content {

bool WriteOgg(const std::string& path, const Pcm& pcm, float quality, int serial) {
  MakeParentDirs(path);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "content: cannot write %s\n", path.c_str());
    return false;
  }
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, pcm.channels, pcm.rate, quality) != 0) {
    std::fclose(f);
    vorbis_info_clear(&vi);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Nookvale");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  ogg_packet header, comm, code;
  vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comm);
  ogg_stream_packetin(&os, &code);
  ogg_page og;
  while (ogg_stream_flush(&os, &og) != 0) {
    std::fwrite(og.header, 1, og.header_len, f);
    std::fwrite(og.body, 1, og.body_len, f);
  }
  const size_t frames = pcm.Frames();
  size_t pos = 0;
  bool eos = false;
  while (!eos) {
    const size_t chunk = std::min<size_t>(4096, frames - pos);
    if (chunk == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buf = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
      for (size_t i = 0; i < chunk; ++i)
        for (int c = 0; c < pcm.channels; ++c) buf[c][i] = pcm.samples[(pos + i) * pcm.channels + c];
      vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
      pos += chunk;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet op;
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (!eos && ogg_stream_pageout(&os, &og) != 0) {
          std::fwrite(og.header, 1, og.header_len, f);
          std::fwrite(og.body, 1, og.body_len, f);
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  std::fclose(f);
  return true;
}

bool ReadOgg(const std::string& path, Pcm& out) {
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) {
    std::fprintf(stderr, "content: cannot read %s\n", path.c_str());
    return false;
  }
  vorbis_info* vi = ov_info(&vf, -1);
  out.channels = vi->channels;
  out.rate = static_cast<int>(vi->rate);
  out.samples.clear();
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    const long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n <= 0) break;
    for (long i = 0; i < n; ++i)
      for (int c = 0; c < out.channels; ++c) out.samples.push_back(pcm[c][i]);
  }
  ov_clear(&vf);
  return !out.samples.empty();
}

bool ReadWav(const std::string& path, Pcm& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u32 = [&](size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, data.data() + at, 4);
    return v;
  };
  auto u16 = [&](size_t at) {
    uint16_t v = 0;
    std::memcpy(&v, data.data() + at, 2);
    return v;
  };
  if (data.size() < 12 || std::memcmp(data.data(), "RIFF", 4) != 0 || std::memcmp(data.data() + 8, "WAVE", 4) != 0) {
    std::fprintf(stderr, "content: %s is not a WAV file\n", path.c_str());
    return false;
  }
  size_t at = 12;
  int bits = 16;
  while (at + 8 <= data.size()) {
    const uint32_t size = u32(at + 4);
    if (std::memcmp(data.data() + at, "fmt ", 4) == 0 && at + 24 <= data.size()) {
      out.channels = u16(at + 10);
      out.rate = static_cast<int>(u32(at + 12));
      bits = u16(at + 22);
    } else if (std::memcmp(data.data() + at, "data", 4) == 0) {
      const size_t end = std::min(data.size(), at + 8 + static_cast<size_t>(size));
      out.samples.clear();
      if (bits == 16) {
        for (size_t p = at + 8; p + 2 <= end; p += 2) out.samples.push_back(static_cast<int16_t>(u16(p)) / 32768.0f);
      } else if (bits == 32) {
        for (size_t p = at + 8; p + 4 <= end; p += 4) {
          float v;
          std::memcpy(&v, data.data() + p, 4);
          out.samples.push_back(v);
        }
      }
      return !out.samples.empty() && out.channels > 0;
    }
    at += 8 + size + (size & 1);
  }
  return false;
}

}  // namespace content
