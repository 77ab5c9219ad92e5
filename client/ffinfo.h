// What the probe learnt of the file being processed; all texts, as the tool printed them.
#pragma once

#include <string>

struct Tffinfo {
    std::string filename;      // full path, set by the batch once the probe succeeded
    std::string duration;      // H:M:S.hh
    std::string bitrate;       // overall, kb/s
    std::string video_bitrate; // the video stream's, kb/s
    std::string frame_rate;    // the video stream's, as the tool takes it after "-r"; may be empty

    void clear() { *this = Tffinfo(); }
};
