graph [
  node [ id 0 graphics [ x 15.0 y 15.0 w 30.0 h 30.0 fill "a\"b\\c" line "\\" ] ]
  node [ id 1 graphics [ x 15.0 y 65.0 w 30.0 h 30.0 ] ]
  edge [ source 0 target 1 graphics [ fill "\"" Line [ point [ x 15.0 y 15.0 ] point [ x 15.0 y 15.0 ] point [ x 15.0 y 65.0 ] ] ] ]
]
