DirectShowSource("/v/clip.rmvb", fps=29.9700898503294, convertfps=true)
