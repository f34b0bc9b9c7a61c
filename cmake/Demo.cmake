# A small demo album made at build time with GStreamer's own encoders: a few seconds of tones as
# MP3 and FLAC files and an M3U playlist naming them, so that a first start has something to play.
find_program(GST_LAUNCH gst-launch-1.0)
if(GST_LAUNCH)
  set(DEMO_DIR ${CMAKE_BINARY_DIR}/demo)
  set(DEMO_TRACKS)
  # name, frequency, encoder
  foreach(track "01 A4.mp3|440|lamemp3enc" "02 C5.flac|523|flacenc" "03 E5.mp3|659|lamemp3enc")
    string(REPLACE "|" ";" parts "${track}")
    list(GET parts 0 name)
    list(GET parts 1 freq)
    list(GET parts 2 encoder)
    add_custom_command(
      OUTPUT "${DEMO_DIR}/${name}"
      COMMAND ${CMAKE_COMMAND} -E make_directory ${DEMO_DIR}
      COMMAND ${GST_LAUNCH} -q audiotestsrc num-buffers=130 samplesperbuffer=1024 freq=${freq}
              volume=0.3 ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! ${encoder}
              ! filesink "location=${DEMO_DIR}/${name}"
      VERBATIM)
    list(APPEND DEMO_TRACKS "${DEMO_DIR}/${name}")
  endforeach()
  add_custom_command(
    OUTPUT ${DEMO_DIR}/demo.m3u
    COMMAND ${CMAKE_COMMAND} -DOUT=${DEMO_DIR}/demo.m3u -P ${CMAKE_CURRENT_LIST_DIR}/DemoPlaylist.cmake
    DEPENDS ${DEMO_TRACKS} ${CMAKE_CURRENT_LIST_DIR}/DemoPlaylist.cmake
    VERBATIM)
  add_custom_target(demo_album ALL DEPENDS ${DEMO_DIR}/demo.m3u)
endif()
